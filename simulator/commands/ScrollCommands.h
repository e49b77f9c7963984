#pragma once
// Scrolling the Saved tab's tables as a finger does, so a script reaches rows below the fold.

#include <string>

namespace sim {

struct CommandContext;
struct ScriptCommand;

/// `scroll POINTS`: scrolls the table in front (the saved-times table, or the laps table while
/// the lap panel is in) by POINTS, positive to bring rows below into view, stopping at its
/// ends; a Delete button showing hides first.
std::string scrollTable(CommandContext& context, const ScriptCommand& command);

} // namespace sim
