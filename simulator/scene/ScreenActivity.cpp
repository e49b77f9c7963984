#include "simulator/scene/ScreenActivity.h"

#include "simulator/device/Device.h"
#include "simulator/scene/Inspector.h"

#include "hosts/clock/StopWatchViewController.h"

#include <algorithm>
#include <cmath>

namespace sim {

ScreenActivity screenActivity(Device& device) {
    ScreenActivity activity;
    auto stopwatch = Inspector(device).stopwatch();
    if (stopwatch && stopwatch->isRunning()) {
        activity.moving = true;
        return activity;
    }
    std::optional<double> next;
    for (const auto& pending : device.runLoop().pending()) {
        if (!pending.isMessage) {
            // The end of an animation, a bar's transition, a scroll or an alert's appearance:
            // something is moving until then.
            activity.moving = true;
            return activity;
        }
        next = next ? std::min(*next, pending.fireTime) : pending.fireTime;
    }
    // The status bar shows the device's wall clock to the minute.
    double wall = device.settings().startUnixSeconds + device.now();
    double minute = (std::floor(wall / 60) + 1) * 60 - device.settings().startUnixSeconds;
    activity.nextChange = next ? std::min(*next, minute) : minute;
    return activity;
}

} // namespace sim
