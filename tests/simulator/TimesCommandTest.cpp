// `lapvane times` as scripts use it: its exit statuses, its one-line errors, and that it never
// changes the file it reads.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using testing_support::runLapvane;

class TimesCommand : public ::testing::Test {
  protected:
    std::string savedTimesFile() const { return home.file("Library/Preferences/com.varnoth.lapvane.plist"); }
    testing_support::TemporaryDirectory home;
};

TEST_F(TimesCommand, AMissingFileSaysThereAreNoSavedTimes) {
    auto list = runLapvane({"times", "list", "--home", home.path()});
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, "No saved times.\n");
    auto exported = runLapvane({"times", "export", "--format", "json", "--home", home.path()});
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.out, "{\"sections\":[]}\n");
    EXPECT_NE(exported.err.find("no saved times"), std::string::npos);
}

TEST_F(TimesCommand, AnUnreadableFileIsOneErrorLineAFailingStatusAndStaysUnchanged) {
    testing_support::writeWholeFile(savedTimesFile(), "<plist><dict><key>Sections</key>");
    const std::vector<std::vector<std::string>> commands = {
        {"times", "list", "--file", savedTimesFile()},
        {"times", "export", "--format", "json", "--file", savedTimesFile()}};
    for (const auto& arguments : commands) {
        auto run = runLapvane(arguments);
        EXPECT_EQ(run.status, 1) << arguments[1];
        EXPECT_EQ(run.out, "") << arguments[1];
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find("cannot read the saved times"), std::string::npos) << run.err;
    }
    EXPECT_EQ(testing_support::readWholeFile(savedTimesFile()), "<plist><dict><key>Sections</key>");
}

TEST_F(TimesCommand, AnUnknownTimeZoneIsRefusedInOneLine) {
    auto run = runLapvane({"times", "list", "--home", home.path(), "--tz", "Mars/Olympus"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("unknown time zone \"Mars/Olympus\""), std::string::npos) << run.err;
}

TEST_F(TimesCommand, HomeAndFileCannotBeGivenTogether) {
    auto run = runLapvane({"times", "list", "--home", home.path(), "--file", savedTimesFile()});
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out, "");
}

TEST_F(TimesCommand, ANamedFileOrHomeThatDoesNotExistIsAnError) {
    const std::string missing = home.path() + "/typo.plist";
    const std::vector<std::vector<std::string>> commands = {
        {"times", "list", "--file", missing},
        {"times", "export", "--format", "json", "--file", missing},
        {"times", "stats", "--file", missing},
        {"times", "check", "--file", missing},
        {"times", "list", "--home", home.path() + "/nonexistent"},
        {"times", "check", "--home", home.path() + "/nonexistent"}};
    for (const auto& arguments : commands) {
        auto run = runLapvane(arguments);
        EXPECT_EQ(run.status, 1) << arguments[1];
        EXPECT_EQ(run.out, "") << arguments[1];
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(arguments.back() + " does not exist"), std::string::npos) << run.err;
    }
}

TEST_F(TimesCommand, OnlyTheDefaultHomeMayBeAbsent) {
    auto run = runLapvane({"times", "list"}, "", {"XDG_DATA_HOME=" + home.path() + "/nowhere"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "No saved times.\n");
}

TEST_F(TimesCommand, ADashReadsTheFileFromStandardInput) {
    const std::string saved =
        "<plist version=\"1.0\"><dict><key>Sections</key><array><string>Default</string>"
        "</array><key>Times - Default</key><array><dict><key>All Laps</key><array>"
        "<real>1.5</real></array><key>Last Lap</key><real>1.5</real><key>Total "
        "Time</key><real>1.5</real></dict></array></dict></plist>";
    testing_support::writeWholeFile(savedTimesFile(), saved);
    for (const std::vector<std::string>& command : {std::vector<std::string>{"times", "list"},
                                                    {"times", "export", "--format", "csv"},
                                                    {"times", "stats"}}) {
        std::vector<std::string> fromFile = command;
        fromFile.insert(fromFile.end(), {"--file", savedTimesFile()});
        std::vector<std::string> fromInput = command;
        fromInput.insert(fromInput.end(), {"--file", "-"});
        auto byPath = runLapvane(fromFile);
        auto byInput = runLapvane(fromInput, saved);
        EXPECT_EQ(byInput.status, 0) << byInput.err;
        EXPECT_EQ(byInput.out, byPath.out) << command[1];
    }
    auto check = runLapvane({"times", "check", "--file", "-"}, saved);
    EXPECT_EQ(check.status, 1) << "the record has no date";
    EXPECT_NE(check.out.find("standard input: 1 problem found."), std::string::npos) << check.out;
    auto empty = runLapvane({"times", "list", "--file", "-"}, "");
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("standard input is empty"), std::string::npos) << empty.err;
}

TEST_F(TimesCommand, ASectionNameIsShownEscapedInAnError) {
    testing_support::writeWholeFile(savedTimesFile(), "<plist><dict/></plist>");
    auto run = runLapvane({"times", "stats", "--section", "Esc\x1b[31mRed", "--file", savedTimesFile()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("\"Esc\\x1b[31mRed\""), std::string::npos) << run.err;
}

} // namespace
