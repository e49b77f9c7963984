#pragma once
// Where the simulator's commands come from: script files one after the other, standard input,
// or a terminal with a prompt, line editing and history.

#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

/// A line of input and where it came from, for error messages.
struct SourceLine {
    std::string text;
    /// "FILE:N" or "<stdin>:N".
    std::string where;
};

/// A source of command lines.
class LineReader {
  public:
    virtual ~LineReader() = default;
    /// The next line without its terminator, or nullopt at the end of the input.
    virtual std::optional<SourceLine> next() = 0;
    /// True when a person is typing (errors then do not count against the exit status).
    [[nodiscard]] virtual bool interactive() const { return false; }
    /// Why the input could not be read, if it could not; empty otherwise.
    [[nodiscard]] virtual std::string failure() const { return {}; }
};

/// Reads the files in order; a file that cannot be opened is a failure and ends the input.
std::unique_ptr<LineReader> fileLineReader(std::vector<std::filesystem::path> files);
/// Reads a stream (standard input, or a built-in script), naming lines with `name`.
std::unique_ptr<LineReader> streamLineReader(std::istream& in, std::string name);
/// Reads from the terminal with the prompt, line editing and history.
std::unique_ptr<LineReader> terminalLineReader(std::string prompt);

/// A whole script read and checked before anything runs.
struct PreparedScript {
    std::vector<SourceLine> lines;
    /// Why the input could not be read (a missing or unreadable file); empty when it was.
    std::string failure;
    /// "WHERE: WHY" for each line that is not a command.
    std::vector<std::string> errors;
};
/// Reads every line of `reader` and parses each, so that one bad line or file runs nothing.
PreparedScript prepareScript(LineReader& reader);
/// Gives the lines of a prepared script.
std::unique_ptr<LineReader> preparedLineReader(std::vector<SourceLine> lines);

} // namespace sim
