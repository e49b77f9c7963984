// The `lapvane` command line itself: its version, what it says when the command word is unknown
// or missing, its refusals in its own words, and `lapvane help`.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

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
                   {"list", "export", "stats", "check"}},
        BadCommand{"UnknownOptionFirst",
                   {"--bogus"},
                   "lapvane: unknown option \"--bogus\"",
                   {"sim", "times", "help"}},
        BadCommand{"ShortOptionFirst", {"-V"}, "lapvane: unknown option \"-V\"", {"sim", "times"}},
        BadCommand{"UnknownOptionBeforeTimesCommand",
                   {"times", "-v", "list"},
                   "lapvane times: unknown option \"-v\"",
                   {"list", "check"}},
        BadCommand{"EscapedCommandWord",
                   {"bo\x1b[1mgus"},
                   "lapvane: unknown command \"bo\\x1b[1mgus\"",
                   {"sim", "demo"}},
        BadCommand{"HelpForAnUnknownCommand",
                   {"help", "times", "bogus"},
                   "lapvane times: unknown command \"bogus\"",
                   {"list", "export"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A refused option is one line in the program's words: what was wrong, and where to look. None of
// the parser's own phrases, and nothing the user typed reaches the terminal raw.
struct Refusal {
    const char* name;
    std::vector<std::string> arguments;
    /// The whole line, "FILE" standing for a saved-times file that exists.
    std::string line;
};

void PrintTo(const Refusal& c, std::ostream* out) {
    *out << c.name;
}

class LapvaneRefusals : public ::testing::TestWithParam<Refusal> {
  protected:
    void SetUp() override { testing_support::writeWholeFile(file(), "<plist><dict/></plist>"); }
    std::string file() const { return scratch.path() + "/saved.plist"; }
    testing_support::TemporaryDirectory scratch;
};

TEST_P(LapvaneRefusals, AreOneLineInOurWords) {
    std::vector<std::string> arguments = GetParam().arguments;
    for (auto& argument : arguments) {
        argument = argument == "FILE" ? file() : argument;
    }
    auto run = runLapvane(arguments);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    std::string expected = GetParam().line;
    if (auto at = expected.find("FILE"); at != std::string::npos) {
        expected.replace(at, 4, file());
    }
    EXPECT_EQ(run.err, expected + "\n");
    for (const char* phrase : {"The following", "At Most", "required but", "not in {", "Expected", "\x1b"}) {
        EXPECT_EQ(run.err.find(phrase), std::string::npos) << phrase;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, LapvaneRefusals,
    ::testing::Values(
        Refusal{"UnknownOption",
                {"times", "list", "--bogus"},
                "lapvane: unknown option \"--bogus\" (see lapvane times list --help)"},
        Refusal{"UnexpectedWord",
                {"times", "stats", "--format", "json", "json", "--file", "FILE"},
                "lapvane: unexpected argument \"json\" (an option's value follows the option) (see lapvane "
                "times stats --help)"},
        Refusal{"GivenTwice",
                {"times", "export", "--format", "json", "--format", "csv", "--file", "FILE"},
                "lapvane: --format is given more than once: give it once (see lapvane times export --help)"},
        Refusal{"RequiredChoice",
                {"times", "export", "--file", "FILE"},
                "lapvane: --format is required: give --format json or --format csv (see lapvane times export "
                "--help)"},
        Refusal{"NotAChoice",
                {"sim", "--device",
                 "ipad\x1b"
                 "2"},
                "lapvane: --device: \"ipad\\x1b2\" is not one of iphone-4, iphone-3.5, ipad (see lapvane sim "
                "--help)"},
        Refusal{
            "HomeAndFile",
            {"times", "list", "--file", "FILE", "--home", "/"},
            "lapvane: --home and --file cannot be given together: give one of them (see lapvane times list "
            "--help)"},
        Refusal{"MissingValue",
                {"times", "list", "--file"},
                "lapvane: --file needs a value: give it after the option (see lapvane times list --help)"},
        Refusal{"EmptyValueWithEquals",
                {"sim", "--home=", "h2", "s1.txt"},
                "lapvane: --home is empty: give a value after \"=\", or leave --home out for the default"},
        Refusal{"EmptyFileWithEquals",
                {"times", "export", "--file=", "--format", "csv"},
                "lapvane: --file is empty: give a value after \"=\", or leave --file out for the default"},
        Refusal{"EmptySection",
                {"times", "stats", "--section", "", "--file", "FILE"},
                "lapvane: --section: the name is empty: give a section's name, or leave --section out for "
                "every section (see lapvane times stats --help)"},
        Refusal{"RecordIntoAMissingFolder",
                {"window", "--record", "/nonexistent-folder/session.txt"},
                "lapvane: --record: /nonexistent-folder/session.txt: the folder /nonexistent-folder does not "
                "exist: make it first (see lapvane window --help)"},
        Refusal{"UnknownZoneInSim",
                {"sim", "--tz", "Nowhere", "--home", "/nonexistent-home/x", "/dev/null"},
                "lapvane: unknown time zone \"Nowhere\"; give a name such as Europe/Berlin or UTC"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LapvaneCommandLine, HelpNamesValuesByWhatTheyAre) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"sim", "--help"}, {"times", "stats", "--help"}, {"window", "--help"}}) {
        auto run = runLapvane(arguments);
        EXPECT_EQ(run.status, 0);
        EXPECT_FALSE(std::regex_search(run.out, std::regex("--[a-z-]+ TEXT"))) << run.out;
    }
    auto sim = runLapvane({"sim", "--help"});
    EXPECT_NE(sim.out.find("--home DIR"), std::string::npos) << sim.out;
    EXPECT_NE(sim.out.find("--tz ZONE"), std::string::npos) << sim.out;
}

TEST(LapvaneCommandLine, HelpCommandPrintsWhatTheHelpOptionPrints) {
    const std::vector<std::vector<std::string>> commands = {{},
                                                            {"sim"},
                                                            {"demo"},
                                                            {"times"},
                                                            {"times", "list"},
                                                            {"times", "export"},
                                                            {"times", "stats"},
                                                            {"times", "check"},
                                                            {"window"},
                                                            {"help"}};
    for (const auto& words : commands) {
        std::vector<std::string> help = {"help"};
        help.insert(help.end(), words.begin(), words.end());
        std::vector<std::string> option = words;
        option.push_back("--help");
        auto byCommand = runLapvane(help);
        auto byOption = runLapvane(option);
        EXPECT_EQ(byCommand.status, 0) << byCommand.err;
        EXPECT_EQ(byOption.status, 0) << byOption.err;
        EXPECT_FALSE(byCommand.out.empty());
        EXPECT_EQ(byCommand.out, byOption.out) << help.back();
    }
}

} // namespace
