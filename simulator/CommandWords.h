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
/// An option before the command word that this level does not have is named the same way.
/// Empty when the words are fine or when a known option comes first (CLI11 then judges the line).
std::string commandWordsProblem(const CLI::App& app, const std::vector<std::string>& arguments);

/// Why an option given as "--name=" with nothing after the "=" is refused (CLI11 would take the
/// next word as its value); empty when no option is given so. Words after "--" are operands.
std::string emptyValueProblem(const std::vector<std::string>& arguments);

/// Checks that `words` name a command of `app`, one level after another ("times", "list"). On
/// an unknown word, `problem` says which and lists that level's commands, and the result is empty.
std::vector<std::string> commandPathWords(const CLI::App& app, const std::vector<std::string>& words,
                                          std::string& problem);

} // namespace sim
