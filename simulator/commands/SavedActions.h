#pragma once
// The commands that act on the Saved tab's screen: taps on its tables and bar items, swipes,
// deletes, moves. The screen checks have found the tab's bars and tables by observation, as an
// inspector would, before any of these runs.
//
// The gestures on the saved-times table's editing controls take a person's time on the device's
// clock: the time passes first and the gesture acts when it ends, on the row its numbers name
// then. Taps on rows, on the bar's items and on the back control are instant, like the
// stopwatch's buttons.

#include <string>

namespace sim {

/// How long a swipe across a row takes.
inline constexpr double kSwipeSeconds = 0.3;
/// How long a drag by a row's reorder control takes.
inline constexpr double kDragSeconds = 0.5;
/// How long a tap on a row's minus control or Delete button, or beside it, takes.
inline constexpr double kEditingControlTapSeconds = 0.15;

struct CommandContext;
struct ScriptCommand;

/// `back`: taps the top bar's back control.
std::string tapBackControl(CommandContext& context, const ScriptCommand& command);
/// Taps the top bar's item titled `title` (Edit, Done, Add); refused while the bar is moving.
std::string tapBarItem(CommandContext& context, const std::string& title);
/// `tap S R`: taps a row of the saved-times table, scrolling it into view first.
std::string tapSavedRow(CommandContext& context, const ScriptCommand& command);
/// `swipe S R`: swipes a row of the saved-times table to show its Delete button (a swipe while
/// another row's Delete button shows only hides that one).
std::string swipeSavedRow(CommandContext& context, const ScriptCommand& command);
/// `unswipe`: taps beside the row whose Delete button shows.
std::string unswipeSavedRow(CommandContext& context, const ScriptCommand& command);
/// `delete S R`: swipe (in edit mode, the minus control) then Delete; only Delete when the row's
/// Delete button shows already, and first a tap beside another row's Delete button.
std::string deleteSavedRow(CommandContext& context, const ScriptCommand& command);
/// `move S R S R`: in edit mode, drags a row to its new place.
std::string moveSavedRow(CommandContext& context, const ScriptCommand& command);

} // namespace sim
