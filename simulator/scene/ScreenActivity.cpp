#include "simulator/scene/ScreenActivity.h"

#include "simulator/device/Device.h"
#include "simulator/scene/Inspector.h"

#include "hosts/clock/StopWatchLapTimeView.h"
#include "hosts/clock/StopWatchViewController.h"
#include "platform/uikit/Environment.h"
#include "platform/uikit/UIViewAnimation.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace sim {
namespace {

void earliest(std::optional<double>& next, double candidate) {
    next = next ? std::min(*next, candidate) : candidate;
}

// True when `view` hangs in a window with no hidden view above it: a tab that is not selected
// has its view taken out of the window, so a stopwatch counting behind another tab changes
// nothing on screen.
bool inWindow(const std::shared_ptr<UIView>& view) {
    std::shared_ptr<UIView> at = view;
    while (at) {
        if (at->isHidden()) {
            return false;
        }
        if (std::dynamic_pointer_cast<UIWindow>(at)) {
            return true;
        }
        at = at->superview();
    }
    return false;
}

} // namespace

double nextTenthAfter(double seconds) {
    // A hair of tolerance so that a value that lands on a tenth by arithmetic counts as there.
    return (std::floor(seconds * 10 + 1e-9) + 1) / 10;
}

ScreenActivity screenActivity(Device& device) {
    ScreenActivity activity;
    double now = device.now();
    std::optional<double> next;
    for (const auto& pending : device.runLoop().pending()) {
        if (!pending.isMessage) {
            activity.moving = true;
            return activity;
        }
        earliest(next, pending.fireTime);
    }
    // View animations move the picture whether or not anyone asked to hear of their end, so
    // they are read from the animator itself rather than from the run loop.
    for (const ui::Animation& animation : device.environment().animator().runningAt(now)) {
        if (animation.start <= now) {
            activity.moving = true;
            return activity;
        }
        earliest(next, animation.start);
    }
    // A running stopwatch shows its total and the lap in progress in tenths of a second: the
    // picture changes when either passes a tenth, not at every frame.
    if (auto stopwatch = Inspector(device).stopwatch();
        stopwatch && stopwatch->isRunning() && stopwatch->isViewLoaded() && inWindow(stopwatch->view())) {
        double total = stopwatch->totalTime();
        earliest(next, now + nextTenthAfter(total) - total);
        if (auto lap = stopwatch->lapTimeView()) {
            double seconds = lap->currentLapTime();
            earliest(next, now + nextTenthAfter(seconds) - seconds);
        }
    }
    // The status bar shows the device's wall clock to the minute.
    double wall = device.settings().startUnixSeconds + now;
    earliest(next, (std::floor(wall / 60) + 1) * 60 - device.settings().startUnixSeconds);
    activity.nextChange = next;
    return activity;
}

} // namespace sim
