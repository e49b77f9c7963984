#pragma once
// Runs the built `lapvane` program as a person would, for end-to-end tests.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace testing_support {

/// What a run of the program printed and how it ended.
struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs `lapvane` with `arguments`, `input` on standard input and the given extra environment
/// entries ("NAME=value").
ProgramRun runLapvane(const std::vector<std::string>& arguments, const std::string& input = {},
                      const std::vector<std::string>& environment = {});

/// Runs `lapvane` with its standard output sent where the shell redirection `outputRedirection`
/// says (">/dev/full", ">&-" to close it); `out` of the result is empty.
ProgramRun runLapvaneWithOutput(const std::string& outputRedirection,
                                const std::vector<std::string>& arguments, const std::string& input = {});

/// The built `lapvane`, in the build's stage beside its libraries and its device folder.
std::string builtLapvane();

/// Runs `program` (a copy of `lapvane` elsewhere) with `arguments` and `input`.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input = {});

/// Every `dump` line of a run's output, parsed, in order.
std::vector<nlohmann::json> dumpsIn(const std::string& out);

} // namespace testing_support
