// The commands the simulator knows, in the order `help` lists them. They register here with the
// command table, which knows them only through this list.

#include "simulator/commands/AlertCommands.h"
#include "simulator/commands/DeviceCommands.h"
#include "simulator/commands/SavedActions.h"
#include "simulator/commands/ScrollCommands.h"
#include "simulator/commands/StopwatchCommands.h"
#include "simulator/device/TabNames.h"
#include "simulator/script/CommandContext.h"
#include "simulator/script/CommandTable.h"
#include "simulator/script/ScriptCommand.h"

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

} // namespace

std::vector<CommandSpec> builtInCommands() {
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
        {"scroll", Shape::word(), "POINTS", "scroll the table in front by POINTS (negative: back up)",
         Needs::SavedTable, Touch::Yes, scrollTable},
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
        {"exit", Shape::none(), "", "end the session (at the prompt, Ctrl-D too)", Needs::Nothing, Touch::No,
         endSession},
    };
}

} // namespace sim
