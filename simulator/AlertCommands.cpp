#include "simulator/AlertCommands.h"

#include "simulator/CommandContext.h"
#include "simulator/Inspector.h"
#include "simulator/ScriptCommand.h"

#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UITextField.h"

namespace sim {

std::string typeIntoAlert(CommandContext& context, const ScriptCommand& command) {
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
    auto alerts = Inspector(context.device).alerts();
    if (alerts.empty()) {
        return "there is no alert on screen";
    }
    if (!alerts.back()->simulateTapButtonWithTitle(command.text)) {
        return "the front alert has no button \"" + command.text + "\" that can be tapped now";
    }
    return {};
}

} // namespace sim
