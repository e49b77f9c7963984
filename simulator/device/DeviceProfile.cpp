#include "simulator/device/DeviceProfile.h"

namespace sim {
namespace {

const std::vector<DeviceProfile>& profiles() {
    static const std::vector<DeviceProfile> all = {
        {"iphone-4", 320, 568, 2, 0},
        {"iphone-3.5", 320, 480, 2, 0},
        {"ipad", 768, 1024, 2, 1},
    };
    return all;
}

} // namespace

std::optional<DeviceProfile> deviceProfileNamed(std::string_view name) {
    for (const auto& profile : profiles()) {
        if (profile.name == name) {
            return profile;
        }
    }
    return std::nullopt;
}

std::vector<std::string> deviceProfileNames() {
    std::vector<std::string> names;
    for (const auto& profile : profiles()) {
        names.push_back(profile.name);
    }
    return names;
}

} // namespace sim
