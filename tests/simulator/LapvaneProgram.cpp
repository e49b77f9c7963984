#include "tests/simulator/LapvaneProgram.h"

#include "tests/support/TemporaryDirectory.h"

#include <cstdlib>
#include <sstream>
#include <sys/wait.h>

namespace testing_support {
namespace {

// Single quotes around a shell word.
std::string shellWord(const std::string& word) {
    std::string out = "'";
    for (char c : word) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

ProgramRun runWith(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& input, const std::vector<std::string>& environment,
                   const std::string* outputRedirection) {
    TemporaryDirectory files;
    std::string in = files.file("in");
    std::string out = files.file("out");
    std::string err = files.file("err");
    writeWholeFile(in, input);
    std::string command = "env";
    for (const auto& entry : environment) {
        command += " " + shellWord(entry);
    }
    command += " " + shellWord(program);
    for (const auto& argument : arguments) {
        command += " " + shellWord(argument);
    }
    command += " <" + shellWord(in) + " " + (outputRedirection ? *outputRedirection : ">" + shellWord(out)) +
               " 2>" + shellWord(err);
    int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = outputRedirection != nullptr ? std::string() : readWholeFile(out);
    run.err = readWholeFile(err);
    return run;
}

} // namespace

ProgramRun runLapvane(const std::vector<std::string>& arguments, const std::string& input,
                      const std::vector<std::string>& environment) {
    return runWith(LAPVANE_LAPVANE_EXE, arguments, input, environment, nullptr);
}

std::string builtLapvane() {
    return LAPVANE_LAPVANE_EXE;
}

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input) {
    return runWith(program, arguments, input, {}, nullptr);
}

ProgramRun runLapvaneWithOutput(const std::string& outputRedirection,
                                const std::vector<std::string>& arguments, const std::string& input) {
    return runWith(LAPVANE_LAPVANE_EXE, arguments, input, {}, &outputRedirection);
}

std::vector<nlohmann::json> dumpsIn(const std::string& out) {
    std::vector<nlohmann::json> all;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.front() == '{') {
            all.push_back(nlohmann::json::parse(line));
        }
    }
    return all;
}

} // namespace testing_support
