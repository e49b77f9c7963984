#include "simulator/commands/AlertCommands.h"

#include "simulator/scene/Inspector.h"
#include "simulator/script/CommandContext.h"
#include "simulator/script/ScriptCommand.h"

#include "simulator/device/SavedTimesWatch.h"

#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UITextField.h"
#include "simulator/device/Device.h"

namespace sim {
namespace {

constexpr double kSettleStep = 0.05;
constexpr double kSettleLimit = 1.0;

// A person waits for an alert that is closing, and for the ones queued behind it to come up,
// before touching one: the virtual clock runs until no alert is closing or waiting (a second at
// most, far more than the platform's animations take).
void waitForAlertsToSettle(Device& device) {
    Inspector inspector(device);
    auto unsettled = [&inspector] {
        const auto alerts = inspector.alerts();
        return !inspector.waitingAlerts().empty() || (!alerts.empty() && alerts.back()->isDismissing());
    };
    for (double waited = 0; unsettled() && waited < kSettleLimit; waited += kSettleStep) {
        device.runFor(kSettleStep);
    }
}

} // namespace

std::string typeIntoAlert(CommandContext& context, const ScriptCommand& command) {
    waitForAlertsToSettle(context.device);
    auto alerts = Inspector(context.device).alerts();
    if (alerts.empty()) {
        return "there is no alert to type into";
    }
    auto front = alerts.back();
    if (front->isDismissing()) {
        return "the front alert is closing";
    }
    if (front->alertViewStyle() == UIAlertViewStyleDefault) {
        return "the front alert has no text field";
    }
    if (!front->textFieldAtIndex(0)->simulateTyping(command.text)) {
        return "the text field does not take typing now";
    }
    return {};
}

std::string tapAlertButton(CommandContext& context, const ScriptCommand& command) {
    waitForAlertsToSettle(context.device);
    auto alerts = Inspector(context.device).alerts();
    if (alerts.empty()) {
        return "there is no alert on screen";
    }
    // A button may add a section (the New Section dialog's Add), which may store nothing.
    SavedTimesWatch watch(SavedTimesWatch::Look::MovedAside);
    if (!alerts.back()->simulateTapButtonWithTitle(command.text)) {
        return "the front alert has no button \"" + command.text + "\" that can be tapped now";
    }
    if (auto why = watch.whyStoredNothing()) {
        return "adding the section stored nothing: " + *why;
    }
    return {};
}

} // namespace sim
