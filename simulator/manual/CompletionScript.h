#pragma once
// The bash completion of `lapvane`, made from the command line's model: command words at each
// level, the options of the command being typed, the choices of an option with a fixed set of
// values, and file names for operands and other values.

#include "simulator/manual/CommandLineModel.h"

#include <string>
#include <vector>

namespace sim::manual {

/// The completion script, defining `_lapvane` and registering it for `lapvane`. Throws
/// std::invalid_argument when a command word, option name or choice holds a character that
/// would need quoting in the script, so such a definition stops the build rather than breaking
/// the completion.
std::string bashCompletion(const std::vector<CommandModel>& commands);

} // namespace sim::manual
