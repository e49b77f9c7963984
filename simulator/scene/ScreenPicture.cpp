#include "simulator/scene/ScreenPicture.h"

#include "simulator/device/Device.h"
#include "simulator/device/DeviceFolder.h"
#include "simulator/scene/Scene.h"

#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/NSString.h"

#include <filesystem>
#include <string>

namespace sim {
namespace {

// The status bar's clock: the device's wall clock in its region, "8:38 AM".
std::string statusClockText(Device& device) {
    auto text = device.statusClockFormatter().stringFromDate(NSDate::date());
    return text ? text->str() : std::string();
}

} // namespace

render::Scene screenScene(Device& device) {
    return pictureScene(device, captureScene(device));
}

render::Scene pictureScene(Device& device, const Scene& seen) {
    render::Scene scene;
    const DeviceProfile& profile = device.settings().profile;
    scene.screenSize = {profile.width, profile.height};
    scene.scale = profile.scale;
    scene.moment = seen.moment;
    scene.clockText = statusClockText(device);
    if (const auto& shown = seen.launch) {
        render::LaunchScreen launch{shown->name, {}};
        // SpringBoard looks the name up in the application's bundle; only the Clock
        // application's bundle is on this device.
        if (shown->bundleIdentifier == kClockBundleIdentifier) {
            auto file = clockBundleFolder(device.settings().systemFolder) / shown->name;
            std::error_code error;
            if (std::filesystem::is_regular_file(file, error)) {
                launch.path = file.string();
            }
        }
        scene.launch = launch;
        return scene;
    }
    scene.window = seen.window;
    for (const auto& alert : seen.alerts) {
        scene.alerts.push_back(alert.alert);
    }
    return scene;
}

} // namespace sim
