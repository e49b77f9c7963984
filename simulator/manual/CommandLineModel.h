#pragma once
// The `lapvane` command line as the manual page and the shell completion describe it: every
// command path with its description, options and operands, read from the CLI11 definition the
// program parses with, so neither can describe an option the program does not have.

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace sim::manual {

/// One option or operand of a command.
struct OptionModel {
    /// Every name, short ones first: "-h", "--help". Empty for an operand.
    std::vector<std::string> names;
    /// The operand's name ("scripts"), or the word for an option's value ("DEVICE"); empty for
    /// a flag.
    std::string valueName;
    /// The option's description as `--help` shows it.
    std::string description;
    /// The only values it accepts, when it has a fixed set of them.
    std::vector<std::string> choices;
    /// The default `--help` shows; empty when none is shown.
    std::string defaultValue;
    /// Whether an operand may be repeated.
    bool repeats = false;

    /// True for a flag: an option that takes no value.
    [[nodiscard]] bool isFlag() const { return !names.empty() && valueName.empty(); }
    /// True for an operand (a positional argument).
    [[nodiscard]] bool isOperand() const { return names.empty(); }
};

/// One command: the program itself or one of its subcommands, at any depth.
struct CommandModel {
    /// The words after the program's name that select it: {} for the program, {"times", "list"}.
    std::vector<std::string> path;
    std::string description;
    std::vector<OptionModel> options;
    /// The names of its subcommands, in the order they were defined.
    std::vector<std::string> subcommands;
    /// Whether one of its subcommands must follow.
    bool needsSubcommand = false;
};

/// Every command of `app`, the program first, then each subcommand followed by its own, in the
/// order they were defined. Hidden options and subcommands (no group) are left out.
std::vector<CommandModel> commandLineModel(const CLI::App& app);

} // namespace sim::manual
