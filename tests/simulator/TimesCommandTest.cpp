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

} // namespace
