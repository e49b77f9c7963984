#include "simulator/commands/StopwatchCommands.h"

#include "simulator/scene/Inspector.h"
#include "simulator/script/CommandContext.h"

#include "hosts/clock/StopWatchViewController.h"
#include "platform/uikit/UIButton.h"

namespace sim {

std::string tapStopwatchButton(CommandContext& context, const std::string& title) {
    auto button = Inspector::findButton(context.stopwatch->view(), title);
    if (!button) {
        return "there is no " + title + " button on the stopwatch screen now";
    }
    button->simulateTap();
    return {};
}

std::string tapSaveButton(CommandContext& context) {
    auto button = Inspector(context.device).saveButton();
    if (!button) {
        return "there is no Save button on the stopwatch screen";
    }
    button->simulateTap();
    return {};
}

} // namespace sim
