// Output that does not arrive is a failure: every command and subcommand, its standard output
// on a full device (or closed), says so in one line on standard error and exits 1, whatever it
// printed and however much.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct OutputCase {
    std::string name;
    std::vector<std::string> arguments;
    std::string input;
};

void PrintTo(const OutputCase& c, std::ostream* out) {
    *out << c.name;
}

// "DIR" at the start of an argument stands for the case's scratch folder, which holds a
// saved-times file with one record ("DIR/saved.plist") and an empty home ("DIR/home").
const std::vector<OutputCase> kCases = {
    {"Help", {"--help"}, ""},
    {"Version", {"--version"}, ""},
    {"HelpCommand", {"help"}, ""},
    {"HelpCommandForTimesList", {"help", "times", "list"}, ""},
    {"SimHelp", {"sim", "--help"}, ""},
    {"SimSession", {"sim", "--home", "DIR/home"}, "launch\nwait 0.1\nscreen\ndump\n"},
    {"SimScriptFile", {"sim", "--home", "DIR/home", "DIR/script.txt"}, ""},
    {"DemoHelp", {"demo", "--help"}, ""},
    {"Demo", {"demo", "--pictures", "DIR/pictures", "--now", "2026-12-07T08:30:00Z", "--tz", "UTC"}, ""},
    {"TimesHelp", {"times", "--help"}, ""},
    {"TimesListHelp", {"times", "list", "--help"}, ""},
    {"TimesList", {"times", "list", "--file", "DIR/saved.plist"}, ""},
    {"TimesListNoSavedTimes", {"times", "list", "--home", "DIR/home"}, ""},
    {"TimesExportJson", {"times", "export", "--format", "json", "--file", "DIR/saved.plist"}, ""},
    {"TimesExportCsv", {"times", "export", "--format", "csv", "--file", "DIR/saved.plist"}, ""},
    {"TimesExportHelp", {"times", "export", "--help"}, ""},
    {"TimesStats", {"times", "stats", "--file", "DIR/saved.plist"}, ""},
    {"TimesStatsJson", {"times", "stats", "--format", "json", "--file", "DIR/saved.plist"}, ""},
    {"TimesStatsHelp", {"times", "stats", "--help"}, ""},
    {"TimesCheck", {"times", "check", "--file", "DIR/saved.plist"}, ""},
    {"TimesCheckHelp", {"times", "check", "--help"}, ""},
    {"WindowHelp", {"window", "--help"}, ""},
};

const char* const kSavedTimes = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict>
	<key>Sections</key>
	<array>
		<string>Default</string>
	</array>
	<key>Times - Default</key>
	<array>
		<dict>
			<key>All Laps</key>
			<array>
				<real>30</real>
				<real>15.3</real>
			</array>
			<key>Date</key>
			<date>2026-12-07T08:38:09Z</date>
			<key>Last Lap</key>
			<real>15.3</real>
			<key>Total Time</key>
			<real>45.3</real>
		</dict>
	</array>
</dict>
</plist>
)";

class StandardOutputFailure : public testing::TestWithParam<OutputCase> {
  protected:
    void SetUp() override {
        testing_support::writeWholeFile(scratch.path() + "/saved.plist", kSavedTimes);
        testing_support::writeWholeFile(scratch.path() + "/home/.keep", "");
        testing_support::writeWholeFile(scratch.path() + "/script.txt", "launch\ndump\n");
    }
    std::vector<std::string> arguments() const {
        std::vector<std::string> expanded;
        for (std::string argument : GetParam().arguments) {
            if (argument.rfind("DIR", 0) == 0) {
                argument.replace(0, 3, scratch.path());
            }
            expanded.push_back(argument);
        }
        return expanded;
    }
    testing_support::TemporaryDirectory scratch;
};

TEST_P(StandardOutputFailure, OnAFullDeviceIsOneErrorLineAndStatusOne) {
    // The command works when its output can be written: the failure below is the device's.
    auto works = testing_support::runLapvane(arguments(), GetParam().input, {"DISPLAY=", "WAYLAND_DISPLAY="});
    ASSERT_EQ(works.status, 0) << works.err;
    ASSERT_FALSE(works.out.empty());

    auto run = testing_support::runLapvaneWithOutput(">/dev/full", arguments(), GetParam().input);
    EXPECT_EQ(run.status, 1) << run.err;
    const std::string expected =
        "lapvane: cannot write to standard output: No space left on device; the output "
        "is incomplete: free some space or send it elsewhere\n";
    // The failure is the last line; a command that also reports on standard error (a demo's
    // library notes) keeps those lines before it, which the run that worked shows as well.
    ASSERT_GE(run.err.size(), expected.size()) << run.err;
    EXPECT_EQ(run.err.substr(run.err.size() - expected.size()), expected) << run.err;
    EXPECT_EQ(run.err.substr(0, run.err.size() - expected.size()), works.err);
}

TEST_P(StandardOutputFailure, OnAClosedDescriptorIsStatusOne) {
    auto run = testing_support::runLapvaneWithOutput(">&-", arguments(), GetParam().input);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("lapvane: cannot write to standard output: Bad file descriptor; the output is "
                           "incomplete: send it elsewhere\n"),
              std::string::npos)
        << run.err;
}

INSTANTIATE_TEST_SUITE_P(EveryCommand, StandardOutputFailure, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<OutputCase>& info) { return info.param.name; });

TEST(StandardOutputFailure, AClosedOutputTakesNoFileTheProgramOpens) {
    // With standard output closed, the first file the session opens would get descriptor 1 and
    // receive the session's output; the saved-times file must hold the save and nothing else.
    testing_support::TemporaryDirectory home;
    auto run = testing_support::runLapvaneWithOutput(
        ">&-", {"sim", "--home", home.path()}, "launch\ntab stopwatch\nstart\nwait 1\nstop\nsave\ndump\n");
    EXPECT_EQ(run.status, 1) << run.err;
    auto list = testing_support::runLapvane(
        {"times", "check", "--file", home.path() + "/Library/Preferences/com.varnoth.lapvane.plist"});
    EXPECT_EQ(list.status, 0) << list.out << list.err;
    EXPECT_NE(list.out.find("no problems found"), std::string::npos) << list.out;
}

TEST(StandardOutputFailure, NothingWrittenToAClosedOutputIsNoFailure) {
    // A command that prints nothing (a session without output) has nothing to lose.
    testing_support::TemporaryDirectory home;
    auto run = testing_support::runLapvaneWithOutput(">&-", {"sim", "--home", home.path()}, "wait 1\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

} // namespace
