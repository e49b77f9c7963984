#include "platform/foundation/NSBundle.h"

#include "platform/foundation/BundleRegistry.h"
#include "platform/foundation/Region.h"

#include <system_error>

namespace {

// Whether `folder` holds an entry named exactly `name`. Listing the folder, rather than asking
// whether the path exists, keeps names case-sensitive even on a file system that is not.
bool holdsExactly(const std::filesystem::path& folder, const std::string& name) {
    std::error_code error;
    if (!std::filesystem::exists(folder / name, error)) {
        return false;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename() == name) {
            return true;
        }
    }
    return false;
}

} // namespace

std::shared_ptr<NSBundle> NSBundle::bundleWithIdentifier(const std::string& identifier) {
    ns::BundleRegistry* registry = ns::BundleRegistry::current();
    return registry ? registry->bundleWithIdentifier(identifier) : nullptr;
}

std::shared_ptr<NSBundle> NSBundle::mainBundle() {
    ns::BundleRegistry* registry = ns::BundleRegistry::current();
    return registry ? registry->mainBundle() : nullptr;
}

std::shared_ptr<NSString> NSBundle::pathForResourceOfType(const std::string& name,
                                                          const std::string& type) const {
    // A name with a folder part would reach outside the resource folders.
    if (name.empty() || name.find('/') != std::string::npos || type.find('/') != std::string::npos) {
        return nullptr;
    }
    const std::string file = type.empty() ? name : name + "." + type;
    if (holdsExactly(folder_, file)) {
        return NSString::with((folder_ / file).string());
    }
    const std::string identifier = ns::Region::current().localeIdentifier;
    const std::string language = identifier.substr(0, identifier.find_first_of("_-"));
    const std::filesystem::path localized = folder_ / (language + ".lproj");
    if (!language.empty() && holdsExactly(localized, file)) {
        return NSString::with((localized / file).string());
    }
    return nullptr;
}
