#pragma once
// The commands that touch the stopwatch screen's buttons: Start, Stop, Lap, Reset and the
// add-on's Save button, found by their current titles as a person finds them.

#include <string>

namespace sim {

struct CommandContext;

/// Taps the stopwatch screen's visible button titled `title`. A disabled button takes no
/// touch, as on the phone.
std::string tapStopwatchButton(CommandContext& context, const std::string& title);

/// Taps the Save button on the stopwatch screen; nothing happens while it is disabled.
std::string tapSaveButton(CommandContext& context);

} // namespace sim
