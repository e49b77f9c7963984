#pragma once
// Checks the command words of a `lapvane` command line before CLI11 parses it, so that an unknown
// or missing command is named and the commands of that level are listed, rather than answered
// with CLI11's general "A subcommand is required".

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace sim {

/// Why the command words of `arguments` (the words after the program name) name no command of
/// `app`: an unknown word, or none where one is required; the message names the program and
/// command path ("lapvane times"), the word, and lists the commands with their descriptions.
/// Empty when the words are fine or when an option comes first (CLI11 then judges the line).
std::string commandWordsProblem(const CLI::App& app, const std::vector<std::string>& arguments);

} // namespace sim
