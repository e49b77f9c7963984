#include "simulator/script/CommandContext.h"

#include "simulator/device/Device.h"
#include "simulator/scene/Inspector.h"

#include "hosts/clock/StopWatchViewController.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIViewController.h"

namespace sim {
namespace {

// An alert blocks the screen from the moment it is shown: while it waits for another one's
// dismissal to end it already owns the touches, as the phone's alert window does.
bool alertInFront(const Inspector& inspector) {
    for (const auto& alert : inspector.alerts()) {
        if (!alert->isDismissing()) {
            return true;
        }
    }
    return !inspector.waitingAlerts().empty();
}

} // namespace

std::string checkScreen(Needs needs, CommandContext& context) {
    Inspector inspector(context.device);
    if (includes(needs, Needs::App) && !context.device.clockRunning()) {
        return "the Clock application is not running (use \"launch\")";
    }
    if (includes(needs, Needs::NoAlert) && alertInFront(inspector)) {
        return "an alert is in front (use \"button TITLE\" or \"type TEXT\")";
    }
    if (includes(needs, Needs::StopwatchTab)) {
        if (!inspector.stopwatchOnScreen()) {
            return "the stopwatch is not on screen (use \"tab stopwatch\")";
        }
        context.stopwatch = inspector.stopwatch();
    }
    if (includes(needs, Needs::SavedTab)) {
        auto parts = findSavedParts(context.device);
        if (!parts || inspector.selectedController() != parts->controller) {
            return "the Saved tab is not on screen (use \"tab saved\")";
        }
        context.saved = *parts;
    }
    if (includes(needs, Needs::SavedTable) && !context.saved.savedTable) {
        return "the Saved tab shows no table";
    }
    return {};
}

} // namespace sim
