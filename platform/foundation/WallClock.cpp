#include "platform/foundation/WallClock.h"

#include <chrono>

namespace ns {
namespace {
WallClock*& scoped() {
    static WallClock* clock = nullptr;
    return clock;
}
} // namespace

WallClock& WallClock::current() {
    if (WallClock* clock = scoped()) {
        return *clock;
    }
    static WallClock real([] {
        using namespace std::chrono;
        return duration<double>(system_clock::now().time_since_epoch()).count();
    });
    return real;
}

WallClock::Scope::Scope(WallClock& clock) : previous_(scoped()) {
    scoped() = &clock;
}

WallClock::Scope::~Scope() {
    scoped() = previous_;
}

} // namespace ns
