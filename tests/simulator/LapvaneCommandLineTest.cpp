// The `lapvane` command line itself: its version, and what it says when the command word is
// unknown or missing.

#include "tests/simulator/LapvaneProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

using testing_support::runLapvane;

TEST(LapvaneCommandLine, VersionPrintsTheProjectVersion) {
    auto run = runLapvane({"--version"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::regex_match(run.out, std::regex("lapvane [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << run.out;
}

struct BadCommand {
    const char* name;
    std::vector<std::string> arguments;
    /// The first line of the message.
    const char* problem;
    /// The commands it must list.
    std::vector<std::string> listed;
};

void PrintTo(const BadCommand& c, std::ostream* out) {
    *out << c.name;
}

class LapvaneCommandWords : public ::testing::TestWithParam<BadCommand> {};

TEST_P(LapvaneCommandWords, NameTheProblemAndListTheCommands) {
    auto run = runLapvane(GetParam().arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), GetParam().problem) << run.err;
    for (const auto& command : GetParam().listed) {
        EXPECT_TRUE(std::regex_search(run.err, std::regex("\n  " + command + " +[A-Z]")))
            << command << " in\n"
            << run.err;
    }
    // The problem, a heading, a line per command of that level and where to read more.
    EXPECT_LE(std::count(run.err.begin(), run.err.end(), '\n'), 8) << "a short usage, not the whole help";
}

INSTANTIATE_TEST_SUITE_P(
    Words, LapvaneCommandWords,
    ::testing::Values(
        BadCommand{"Unknown", {"bogus"}, "lapvane: unknown command \"bogus\"", {"sim", "demo", "times"}},
        BadCommand{"Missing", {}, "lapvane: a command is required", {"sim", "demo", "times"}},
        BadCommand{"UnknownTimesCommand",
                   {"times", "bogus"},
                   "lapvane times: unknown command \"bogus\"",
                   {"list", "export", "stats", "check"}},
        BadCommand{"MissingTimesCommand",
                   {"times"},
                   "lapvane times: a command is required",
                   {"list", "export", "stats", "check"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
