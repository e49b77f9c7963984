#include "platform/uikit/Environment.h"

#include "platform/runtime/Runtime.h"
#include "platform/uikit/AlertPresenter.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/UIWindow.h"

namespace ui {
namespace {
Environment*& scoped() {
    static Environment* current = nullptr;
    return current;
}
} // namespace

Environment::Environment(DeviceConfiguration configuration)
    : configuration_(configuration), animator_(std::make_unique<Animator>()),
      alerts_(std::make_unique<AlertPresenter>()) {}

Environment::~Environment() = default;

Environment& Environment::current() {
    if (Environment* environment = scoped()) {
        return *environment;
    }
    static Environment processDefault;
    return processDefault;
}

Environment::Scope::Scope(Environment& environment) : previous_(scoped()) {
    scoped() = &environment;
}

Environment::Scope::~Scope() {
    scoped() = previous_;
}

// The device and screen objects only read the configuration, so a fresh one per request is
// as good as a shared one, and none outlives the runtime that registered its class.
std::shared_ptr<UIDevice> Environment::device() {
    return rt::make<UIDevice>();
}

std::shared_ptr<UIScreen> Environment::screen() {
    return rt::make<UIScreen>();
}

} // namespace ui
