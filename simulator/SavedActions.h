#pragma once
// The commands that act on the Saved tab's screen: taps on its tables and bar items, swipes,
// deletes, moves. The screen checks have found the tab's bars and tables by observation, as an
// inspector would, before any of these runs.

#include <string>

namespace sim {

struct CommandContext;
struct ScriptCommand;

/// `back`: taps the top bar's back control.
std::string tapBackControl(CommandContext& context, const ScriptCommand& command);
/// Taps the top bar's item titled `title` (Edit, Done, Add).
std::string tapBarItem(CommandContext& context, const std::string& title);
/// `tap S R`: taps a row of the saved-times table, scrolling it into view first.
std::string tapSavedRow(CommandContext& context, const ScriptCommand& command);
/// `swipe S R`: swipes a row of the saved-times table to show its Delete button.
std::string swipeSavedRow(CommandContext& context, const ScriptCommand& command);
/// `unswipe`: taps beside the row whose Delete button shows.
std::string unswipeSavedRow(CommandContext& context, const ScriptCommand& command);
/// `delete S R`: swipe (in edit mode, the minus control) then Delete.
std::string deleteSavedRow(CommandContext& context, const ScriptCommand& command);
/// `move S R S R`: in edit mode, drags a row to its new place.
std::string moveSavedRow(CommandContext& context, const ScriptCommand& command);

} // namespace sim
