#include "platform/foundation/BundleRegistry.h"

#include "platform/runtime/Runtime.h"

namespace ns {
namespace {
BundleRegistry*& inForce() {
    static BundleRegistry* registry = nullptr;
    return registry;
}
} // namespace

void BundleRegistry::add(const std::string& identifier, std::filesystem::path folder) {
    bundles_[identifier] = Entry{std::move(folder), nullptr};
}

std::shared_ptr<NSBundle> BundleRegistry::bundleWithIdentifier(const std::string& identifier) {
    const auto found = bundles_.find(identifier);
    if (found == bundles_.end()) {
        return nullptr;
    }
    if (!found->second.bundle) {
        found->second.bundle = rt::make<NSBundle>(identifier, found->second.folder);
    }
    return found->second.bundle;
}

BundleRegistry* BundleRegistry::current() {
    return inForce();
}

BundleRegistry::Scope::Scope(BundleRegistry& registry) : previous_(inForce()) {
    inForce() = &registry;
}

BundleRegistry::Scope::~Scope() {
    inForce() = previous_;
}

} // namespace ns
