#pragma once
// One line of a simulator script: a command name and its arguments, checked against the command
// table's argument shapes before anything runs, so a malformed line becomes an error message and
// never reaches the device.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// A command read from a script line, with its arguments checked and converted.
struct ScriptCommand {
    /// The command word, e.g. "tap".
    std::string name;
    /// The words after the command word (comment removed).
    std::vector<std::string> words;
    /// For a command taking text (`type`, `button`): the text after the one space that follows
    /// the command word.
    std::string text;
    /// For a command taking numbers (`tap`, `move`...): the section and row numbers, in order.
    std::vector<int> numbers;
    /// For `wait`: the seconds to advance.
    double seconds = 0;
};

/// The outcome of reading one line: a command, nothing (blank or comment), or an error.
struct ParsedLine {
    std::optional<ScriptCommand> command;
    /// Why the line is not a command; empty when it is one or when it is blank.
    std::string error;
};

/// Reads one script line (without its line terminator). `#` starts a comment, except in the
/// text of a command taking text (`type`, `button`), which is taken verbatim so that titles and
/// section names may hold any character (a button title loses the blanks at the end of the line).
ParsedLine parseScriptLine(std::string_view line);

/// The names of every command, in the command table's order, for line completion.
const std::vector<std::string>& commandNames();

} // namespace sim
