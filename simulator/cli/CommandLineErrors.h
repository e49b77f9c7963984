#pragma once
// What `lapvane` says when CLI11 refuses a command line: one line in the program's own words,
// naming the command, what was wrong (the unknown option, the missing value, the option given
// twice) and what to do, instead of the library's general messages.

#include <string>

namespace CLI {
class App;
class Error;
} // namespace CLI

namespace sim {

/// The line (ending in a newline) for `error`, raised while `app` parsed a command line. The
/// words and options the user typed are shown with their control characters escaped.
std::string commandLineErrorText(const CLI::App& app, const CLI::Error& error);

} // namespace sim
