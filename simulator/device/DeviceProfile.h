#pragma once
// The kinds of device the simulator can be: screen size in points, scale and interface idiom.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// One kind of device.
struct DeviceProfile {
    /// The name used with --device.
    std::string name;
    /// The main screen's portrait bounds in points.
    float width = 320;
    float height = 568;
    float scale = 2;
    /// `userInterfaceIdiom`: 0 for the phone, 1 for the pad.
    int idiom = 0;
};

/// The profile named `name` ("iphone-3.5", "iphone-4", "ipad"), or nullopt.
std::optional<DeviceProfile> deviceProfileNamed(std::string_view name);
/// Every profile's name, the default first.
std::vector<std::string> deviceProfileNames();
/// The default device: "iphone-4".
inline constexpr const char* kDefaultDeviceName = "iphone-4";

} // namespace sim
