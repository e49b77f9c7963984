// Every `lapvane` command follows one table of exit statuses: 0 when it did what was asked, 1
// when nothing useful could be done, 2 when a session ran but refused some line.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/CaseName.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct StatusCase {
    std::string name;
    std::vector<std::string> arguments;
    std::string input;
    int status;
};

void PrintTo(const StatusCase& c, std::ostream* out) {
    *out << c.name;
}

// "HOME" and "DIR" in an argument stand for the case's own home folder and scratch folder.
const std::vector<StatusCase> kCases = {
    {"Version", {"--version"}, "", 0},
    {"Help", {"--help"}, "", 0},
    {"UnknownCommand", {"bogus"}, "", 1},
    {"UnknownOption", {"sim", "--bogus"}, "", 1},
    {"SimEveryLineCarriedOut",
     {"sim", "--home", "HOME"},
     "launch\ntab stopwatch\nstart\nwait 1\nstop\nsave\n",
     0},
    {"SimALineRefused", {"sim", "--home", "HOME"}, "launch\ntab saved\ntap 5 5\ndump\n", 2},
    {"SimASaveThatStoredNothing",
     {"sim", "--home", "DIR/fifo-home"},
     "launch\ntab stopwatch\nstart\nstop\nsave\n",
     2},
    {"SimEmptyHome", {"sim", "--home", ""}, "launch\n", 1},
    {"SimHomeIsAFile", {"sim", "--home", "DIR/a-file"}, "launch\n", 1},
    {"SimUnknownLocale", {"sim", "--home", "HOME", "--locale", "xx_YY"}, "launch\n", 1},
    {"SimUnknownZone", {"sim", "--home", "HOME", "--tz", "Mars/Olympus"}, "launch\n", 1},
    {"SimMissingScript", {"sim", "--home", "HOME", "DIR/missing.txt"}, "", 1},
    {"SimBadLineInAScript", {"sim", "--home", "HOME", "DIR/bad.txt"}, "", 2},
    {"DemoEmptyPictures", {"demo", "--pictures", ""}, "", 1},
    {"TimesListNoFile", {"times", "list", "--home", "HOME"}, "", 0},
    {"TimesListDamaged", {"times", "list", "--file", "DIR/damaged.plist"}, "", 1},
    {"TimesListFileIsAFolder", {"times", "list", "--file", "DIR"}, "", 1},
    {"TimesListNamedFileMissing", {"times", "list", "--file", "DIR/missing.plist"}, "", 1},
    {"TimesCheckNamedHomeMissing", {"times", "check", "--home", "DIR/missing-home"}, "", 1},
    {"TimesListFromStandardInput", {"times", "list", "--file", "-"}, "<plist><dict/></plist>", 0},
    {"HelpForACommand", {"help", "times"}, "", 0},
    {"HelpForAnUnknownCommand", {"help", "bogus"}, "", 1},
    {"TimesExportWithoutFormat", {"times", "export", "--home", "HOME"}, "", 1},
    {"TimesExportNoFile", {"times", "export", "--format", "csv", "--home", "HOME"}, "", 0},
    {"TimesStatsUnknownSection", {"times", "stats", "--section", "Nope", "--file", "DIR/saved.plist"}, "", 1},
    {"TimesCheckClean", {"times", "check", "--file", "DIR/saved.plist"}, "", 0},
    {"TimesCheckProblems", {"times", "check", "--file", "DIR/damaged.plist"}, "", 1},
    {"WindowWithoutDisplay", {"window", "--home", "HOME"}, "", 1},
};

class ExitStatus : public testing::TestWithParam<StatusCase> {
  protected:
    void SetUp() override {
        testing_support::writeWholeFile(scratch.path() + "/a-file", "x");
        testing_support::writeWholeFile(scratch.path() + "/bad.txt", "launch\nfly\n");
        testing_support::writeWholeFile(scratch.path() + "/damaged.plist", "<plist><dict>");
        testing_support::writeWholeFile(
            scratch.path() + "/saved.plist",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
            "version=\"1.0\">\n<dict>\n\t<key>Sections</key>\n"
            "\t<array>\n\t\t<string>Default</string>\n\t</array>\n</dict>\n</plist>\n");
        testing_support::writeWholeFile(scratch.path() + "/fifo-home/Library/Preferences/.keep", "");
        ASSERT_EQ(
            ::system(("mkfifo " + scratch.path() + "/fifo-home/Library/Preferences/com.varnoth.lapvane.plist")
                         .c_str()),
            0);
    }
    std::string expand(std::string argument) const {
        for (auto [token, path] :
             {std::pair<std::string, std::string>{"HOME", home.path()}, {"DIR", scratch.path()}}) {
            if (argument.rfind(token, 0) == 0) {
                argument.replace(0, token.size(), path);
            }
        }
        return argument;
    }
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory scratch;
};

TEST_P(ExitStatus, FollowsTheTable) {
    std::vector<std::string> arguments;
    for (const auto& argument : GetParam().arguments) {
        arguments.push_back(expand(argument));
    }
    auto run = testing_support::runLapvane(arguments, GetParam().input, {"DISPLAY=", "WAYLAND_DISPLAY="});
    EXPECT_EQ(run.status, GetParam().status) << run.err << run.out;
    if (run.status != 0) {
        // On standard error, or for `times check` in its report.
        EXPECT_FALSE(run.err.empty() && run.out.empty()) << "a failure is said";
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, ExitStatus, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<StatusCase>& info) { return info.param.name; });

} // namespace
