#include "simulator/commands/StopwatchCommands.h"

#include "simulator/device/SavedTimesWatch.h"
#include "simulator/scene/Inspector.h"
#include "simulator/script/CommandContext.h"

#include "addon/store/SavedTimesStore.h"
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
    // A disabled button takes no touch; an enabled one stores the result, and a Save that left
    // the file as it was stored nothing.
    const bool enabled = button->isEnabled();
    SavedTimesWatch watch(SavedTimesWatch::Look::File);
    button->simulateTap();
    auto why = watch.whyStoredNothing();
    if (enabled && (why || !watch.changed())) {
        return "Save stored nothing: " + why.value_or(watch.whyNotWritable().value_or(
                                             "the file " + lv::savedTimesPath() + " was left as it was"));
    }
    return {};
}

} // namespace sim
