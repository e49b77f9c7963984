#include "simulator/CommandTable.h"

#include "simulator/AlertCommands.h"
#include "simulator/CommandContext.h"
#include "simulator/DeviceCommands.h"
#include "simulator/SavedActions.h"
#include "simulator/ScriptCommand.h"
#include "simulator/StopwatchCommands.h"
#include "simulator/TabNames.h"

#include <algorithm>

namespace sim {
namespace {

using Shape = ArgumentShape;

// "world|alarm|timer|stopwatch|saved|1..5", from the one list of tab names.
std::string tabArguments() {
    std::string usage;
    for (const auto& tab : tabNames()) {
        usage.append(tab.word).append("|");
    }
    return usage + "1..5";
}

std::vector<CommandSpec> buildTable() {
    // Columns: name, argument shape, arguments in the usage line, summary, what must be on screen,
    // whether it is a touch, handler.
    return {
        {"launch", Shape::none(), "", "SpringBoard launches the Clock application", Needs::Nothing, Touch::No,
         launchClock},
        {"quit", Shape::none(), "", "end the Clock application", Needs::App, Touch::No, quitClock},
        {"launch-image", Shape::word(), "BUNDLE-ID", "the launch image SpringBoard names for an app",
         Needs::Nothing, Touch::No, printLaunchImage},
        {"tab", Shape::oneOf(tabWords()), tabArguments(), "tap a tab, by name or position", Needs::NoAlert,
         Touch::Yes, tapTab},
        {"start", Shape::none(), "", "tap the stopwatch's Start button", Needs::StopwatchTab, Touch::Yes,
         [](CommandContext& c, const ScriptCommand&) { return tapStopwatchButton(c, "Start"); }},
        {"stop", Shape::none(), "", "tap the stopwatch's Stop button", Needs::StopwatchTab, Touch::Yes,
         [](CommandContext& c, const ScriptCommand&) { return tapStopwatchButton(c, "Stop"); }},
        {"lap", Shape::none(), "", "tap the stopwatch's Lap button", Needs::StopwatchTab, Touch::Yes,
         [](CommandContext& c, const ScriptCommand&) { return tapStopwatchButton(c, "Lap"); }},
        {"reset", Shape::none(), "", "tap the stopwatch's Reset button", Needs::StopwatchTab, Touch::Yes,
         [](CommandContext& c, const ScriptCommand&) { return tapStopwatchButton(c, "Reset"); }},
        {"save", Shape::none(), "", "tap the Save button", Needs::StopwatchTab, Touch::Yes,
         [](CommandContext& c, const ScriptCommand&) { return tapSaveButton(c); }},
        {"wait", Shape::seconds(), "SECONDS", "advance the virtual clock", Needs::Nothing, Touch::No,
         waitFor},
        {"tap", Shape::numbers(2), "SECTION ROW", "tap a row of the saved-times table", Needs::SavedTable,
         Touch::Yes, tapSavedRow},
        {"back", Shape::none(), "", "tap the top bar's back control", Needs::SavedTab, Touch::Yes,
         tapBackControl},
        {"edit", Shape::none(), "", "tap the top bar's Edit item", Needs::SavedTab, Touch::Yes,
         [](CommandContext& c, const ScriptCommand&) { return tapBarItem(c, "Edit"); }},
        {"done", Shape::none(), "", "tap the top bar's Done item", Needs::SavedTab, Touch::Yes,
         [](CommandContext& c, const ScriptCommand&) { return tapBarItem(c, "Done"); }},
        {"add", Shape::none(), "", "tap the top bar's Add item", Needs::SavedTab, Touch::Yes,
         [](CommandContext& c, const ScriptCommand&) { return tapBarItem(c, "Add"); }},
        {"swipe", Shape::numbers(2), "SECTION ROW", "swipe a row to show its Delete button",
         Needs::SavedTable, Touch::Yes, swipeSavedRow},
        {"unswipe", Shape::none(), "", "tap elsewhere to hide the Delete button", Needs::SavedTable,
         Touch::Yes, unswipeSavedRow},
        {"delete", Shape::numbers(2), "SECTION ROW", "delete a row (swipe or minus control, then Delete)",
         Needs::SavedTable, Touch::Yes, deleteSavedRow},
        {"move", Shape::numbers(4), "SECTION ROW SECTION ROW", "in edit mode, drag a row to a new place",
         Needs::SavedTable, Touch::Yes, moveSavedRow},
        {"type", Shape::optionalText(), "TEXT", "set the front alert's text field", Needs::App, Touch::Yes,
         typeIntoAlert},
        {"button", Shape::text(), "TITLE", "tap the front alert's button with that title", Needs::App,
         Touch::Yes, tapAlertButton},
        {"screen", Shape::none(), "", "print the screen as text", Needs::Nothing, Touch::No, printScreen},
        {"shot", Shape::word(), "FILE", "write a picture of the screen (PNG, or SVG for .svg)",
         Needs::Nothing, Touch::No, takePicture},
        {"dump", Shape::none(), "", "print the state as one line of JSON", Needs::Nothing, Touch::No,
         printDump},
        {"help", Shape::none(), "", "list the commands", Needs::Nothing, Touch::No, printHelp},
    };
}

} // namespace

const std::vector<CommandSpec>& commandTable() {
    static const std::vector<CommandSpec> table = buildTable();
    return table;
}

const CommandSpec* findCommand(std::string_view name) {
    const auto& table = commandTable();
    auto found = std::find_if(table.begin(), table.end(),
                              [&](const CommandSpec& entry) { return entry.name == name; });
    return found == table.end() ? nullptr : &*found;
}

std::string helpText() {
    // Summaries line up after the usual usage lines; a longer one pushes its summary along.
    constexpr std::size_t kUsageColumn = 30;
    std::string text = "Commands (one a line, # starts a comment):\n";
    for (const auto& entry : commandTable()) {
        std::string usage = entry.usage();
        std::size_t pad = usage.size() < kUsageColumn ? kUsageColumn - usage.size() : 2;
        text += "  " + usage + std::string(pad, ' ') + entry.summary + '\n';
    }
    return text;
}

const std::vector<std::string>& completionCandidates(std::string_view before) {
    static const std::vector<std::string> none;
    constexpr std::string_view kBlanks = " \t";
    std::size_t first = before.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return commandNames();
    }
    std::size_t nameEnd = before.find_first_of(kBlanks, first);
    if (nameEnd == std::string_view::npos ||
        before.find_first_not_of(kBlanks, nameEnd) != std::string_view::npos) {
        // Still inside the command word, or past the first argument.
        return none;
    }
    const CommandSpec* entry = findCommand(before.substr(first, nameEnd - first));
    return entry != nullptr && entry->arguments.kind == ArgumentShape::Kind::Word ? entry->arguments.choices
                                                                                  : none;
}

} // namespace sim
