#pragma once
// The commands that answer the alert in front: typing into its text field and tapping one of
// its buttons by title.

#include <string>

namespace sim {

struct CommandContext;
struct ScriptCommand;

/// `type TEXT`: sets the front alert's text field to the command's text.
std::string typeIntoAlert(CommandContext& context, const ScriptCommand& command);
/// `button TITLE`: taps the front alert's button with that title.
std::string tapAlertButton(CommandContext& context, const ScriptCommand& command);

} // namespace sim
