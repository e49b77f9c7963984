// `lapvane window` as a daily tool, under a virtual X server driven by xdotool: the default window
// fits a 1024 x 768 screen and draws nothing and spins not while nothing moves; a flick scrolls thirty
// results to the last one and a held row opens its gap in the window's picture; what a person
// does with --record replays through `lapvane sim` to the same file and state; --play of the
// demonstration leaves the file `lapvane demo` leaves.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/simulator/window/WindowDriver.h"
#include "tests/support/TemporaryDirectory.h"

#include "simulator/DemoScript.h"
#include "simulator/render/Picture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace {

using nlohmann::json;
using testing_support::driveWindow;
using testing_support::fileWithoutTimes;
using testing_support::readWholeFile;
using testing_support::runLapvane;
using testing_support::withoutTimes;

const std::string kSavedTimesFile = "/Library/Preferences/com.varnoth.lapvane.plist";
const std::string kStart = "2026-12-07T08:30:00Z";

TEST(WindowDailyUse, TheDefaultWindowFitsA1024By768ScreenAndStaysStillWhileNothingMoves) {
    REQUIRE_WINDOW_TOOLS();
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    // After the launch image, three seconds of a stopped stopwatch on screen.
    auto run = driveWindow(home.path(), work.path(),
                           "sleep 1.5\nclick 224 544\nsleep 0.5\ncpu\nframes\nsleep 3\ncpu\nframes\n",
                           {"--tz", "UTC", "--locale", "en_US"}, "1024x768");
    ASSERT_EQ(run.status, 0) << run.driverErr << run.err << run.out;
    std::smatch place;
    ASSERT_TRUE(std::regex_search(run.out, place,
                                  std::regex("screen: ([0-9]+)x([0-9]+) pixels at ([0-9]+),([0-9]+)")))
        << run.out;
    int width = std::stoi(place[1]);
    int height = std::stoi(place[2]);
    // Without a window manager the window sits at the top left corner of the X screen.
    EXPECT_LE(std::stoi(place[3]) + width, 1024);
    EXPECT_LE(std::stoi(place[4]) + height, 768) << "the tab bar at the foot is on the screen";
    EXPECT_EQ(width * 568, height * 320) << "the whole screen at one scale";
    EXPECT_GE(height, 568) << "as large as fits, not the smallest";

    std::istringstream frames(readWholeFile(work.path() + "/frames"));
    long framesBefore = -1;
    long framesAfter = -1;
    frames >> framesBefore >> framesAfter;
    ASSERT_GE(framesBefore, 0) << readWholeFile(work.path() + "/frames");
    // The status bar's minute may turn once in the three seconds.
    EXPECT_LE(framesAfter - framesBefore, 1) << "an idle window drew again";
    std::istringstream cpu(readWholeFile(work.path() + "/cpu"));
    long before = -1;
    long after = -1;
    cpu >> before >> after;
    ASSERT_GE(before, 0) << readWholeFile(work.path() + "/cpu");
    double seconds = static_cast<double>(after - before) / static_cast<double>(sysconf(_SC_CLK_TCK));
    // The process's own CPU time, so a busy machine counts for little: an idle window uses
    // almost none, and only a loop that spins without drawing reaches a tenth of a core.
    EXPECT_LT(seconds, 0.3) << "over a tenth of a core for 3 s of an idle window";
}

TEST(WindowDailyUse, AFlickScrollsThirtyResultsToTheLastAndAHeldRowOpensItsGapInThePicture) {
    REQUIRE_WINDOW_TOOLS();
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    // Thirty results of 1 to 30 seconds, so each row reads differently.
    std::string script = "launch\ntab stopwatch\n";
    for (int i = 1; i <= 30; ++i) {
        script += "start\nwait " + std::to_string(i) + "\nstop\nsave\nreset\n";
    }
    auto made = runLapvane({"sim", "--home", home.path(), "--tz", "UTC", "--locale", "en_US"}, script);
    ASSERT_EQ(made.status, 0) << made.err;
    // Edit mode; a shot; the first row held by its grabber and dragged down past two rows; a
    // shot while it is held; let go; Done; five flicks up, which reach the end (30 rows of 70
    // points in a table 456 high) even should the machine be too slow for them to coast; a dump
    // once it has come to rest.
    std::string flicks;
    for (int i = 0; i < 5; ++i) {
        flicks += "flick 160 480 160 100\nsleep 0.2\n";
    }
    auto run =
        driveWindow(home.path(), work.path(),
                    "sleep 1.5\nclick 288 544\nsleep 0.7\nclick 290 42\nsleep 0.7\nkey ctrl+s\nsleep 0.5\n"
                    "press 300 121\nmoveto 300 271\nsleep 0.5\nkey ctrl+s\nsleep 0.5\nrelease\nsleep 0.7\n"
                    "click 290 42\nsleep 0.7\n" +
                        flicks + "sleep 3\ndump\n",
                    {"--tz", "UTC", "--locale", "en_US", "--scale", "1"}, "1024x768");
    ASSERT_EQ(run.status, 0) << run.driverErr << run.err << run.out;
    auto dumps = testing_support::dumpsIn(run.out);
    ASSERT_EQ(dumps.size(), 1U) << run.out;
    const json& section = dumps[0]["saved"]["saved_table"]["sections"][0];
    ASSERT_EQ(section["row_count"], 30);
    bool lastShown = false;
    for (const json& row : section["rows"]) {
        lastShown = lastShown || (row["row"] == 29 && !row["covered"].get<bool>());
    }
    EXPECT_TRUE(lastShown) << section["rows"].dump();

    // In the shot taken mid-drag the second row stands where the first was (the gap opened
    // below it); before the drag the first row stood there.
    auto before = render::Picture::readPng(work.path() + "/lapvane-shot-1.png", 2);
    auto during = render::Picture::readPng(work.path() + "/lapvane-shot-2.png", 2);
    ASSERT_TRUE(before && during);
    auto bandDifference = [](const render::Picture& a, int aTop, const render::Picture& b, int bTop) {
        double sum = 0;
        // The row's middle 60 points, two pixels a point, its whole width.
        for (int y = 10; y < 60; ++y) {
            for (int x = 0; x < a.width(); ++x) {
                render::Rgba p = a.pixel(x, 2 * (aTop + y));
                render::Rgba q = b.pixel(x, 2 * (bTop + y));
                sum += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
            }
        }
        return sum;
    };
    double moved = bandDifference(*during, 86, *before, 156);
    double stayed = bandDifference(*during, 86, *before, 86);
    EXPECT_LT(moved * 5, stayed) << "mid-drag, the first row's place shows the second row";
    EXPECT_GT(stayed, 0);
}

TEST(WindowDailyUse, ASessionRecordedInTheWindowReplaysThroughSimToTheSameFileAndState) {
    REQUIRE_WINDOW_TOOLS();
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    std::string record = work.path() + "/session.script";
    // A run with two laps saved, a second run saved, the Saved tab, the laps panel in and out,
    // edit mode, a new section "Laps", the second result moved into it, the first deleted.
    auto run = driveWindow(
        home.path(), work.path(),
        "sleep 1.5\nclick 224 544\nclick 85 192\nsleep 0.5\nclick 235 192\nsleep 0.5\n"
        "click 235 192\nsleep 0.3\nclick 85 192\nclick 85 52\nclick 235 192\nclick 85 192\n"
        "sleep 0.7\nclick 85 192\nclick 85 52\nclick 288 544\nsleep 0.7\nclick 160 120\n"
        "sleep 0.7\nclick 30 42\nsleep 0.7\nclick 290 42\nsleep 0.7\nclick 30 42\nsleep 0.7\n"
        "type Laps\nkey Return\nsleep 0.7\ndrag 300 191 300 240\nsleep 0.7\nclick 20 121\n"
        "sleep 0.5\nclick 280 121\nsleep 0.7\ndump\n",
        {"--tz", "UTC", "--locale", "en_US", "--scale", "2", "--now", kStart, "--record", record});
    ASSERT_EQ(run.status, 0) << run.driverErr << run.err << run.out;
    auto windowDumps = testing_support::dumpsIn(run.out);
    ASSERT_EQ(windowDumps.size(), 1U) << run.out;
    std::string recorded = readWholeFile(record);
    EXPECT_EQ(
        recorded.substr(0, recorded.find('\n')),
        "# lapvane window --record; replay: lapvane sim --device iphone-4 --locale en_US --tz UTC --now " +
            kStart + " FILE, on a copy of the home as it was");
    for (const char* line :
         {"\nlaunch\n", "\nlap\n", "\ntab 5\n", "\ntap 0 0\n", "\nback\n", "\nedit\n", "\nadd\n",
          "\ntype Laps\n", "\nbutton Add\n", "\nmove 0 1 1 0\n", "\ndelete 0 0\n"}) {
        EXPECT_NE(recorded.find(line), std::string::npos) << line << " in\n" << recorded;
    }

    testing_support::TemporaryDirectory simHome;
    std::ofstream(work.path() + "/dump.script") << "dump\n";
    auto sim = runLapvane({"sim", "--home", simHome.path(), "--device", "iphone-4", "--locale", "en_US",
                           "--tz", "UTC", "--now", kStart, record, work.path() + "/dump.script"});
    ASSERT_EQ(sim.status, 0) << sim.err << recorded;
    auto simDumps = testing_support::dumpsIn(sim.out);
    ASSERT_EQ(simDumps.size(), 1U);
    EXPECT_EQ(withoutTimes(simDumps[0]).dump(2), withoutTimes(windowDumps[0]).dump(2)) << recorded;
    std::string windowFile = readWholeFile(home.path() + kSavedTimesFile);
    ASSERT_FALSE(windowFile.empty());
    EXPECT_EQ(fileWithoutTimes(readWholeFile(simHome.path() + kSavedTimesFile)),
              fileWithoutTimes(windowFile));
}

TEST(WindowDailyUse, PlayingTheDemonstrationInTheWindowLeavesTheFileTheDemoLeaves) {
    REQUIRE_WINDOW_TOOLS();
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    std::string script = work.path() + "/demo.script";
    std::ofstream(script) << sim::demoScript();
    auto run = driveWindow(home.path(), work.path(), "expect ^played: \n",
                           {"--tz", "UTC", "--locale", "en_US", "--scale", "1", "--now", kStart, "--play",
                            script, "--speed", "200"},
                           "1024x768");
    ASSERT_EQ(run.status, 0) << run.driverErr << run.err << run.out;
    EXPECT_EQ(run.err, "");

    auto demo = runLapvane({"demo", "--keep-home", "--tz", "UTC", "--locale", "en_US", "--now", kStart,
                            "--pictures", work.path() + "/demo-pictures"});
    ASSERT_EQ(demo.status, 0) << demo.err;
    std::smatch kept;
    ASSERT_TRUE(std::regex_search(demo.out, kept, std::regex("home folder is kept at (\\S+)"))) << demo.out;
    std::string demoFile = readWholeFile(kept[1].str() + kSavedTimesFile);
    std::filesystem::remove_all(kept[1].str());
    ASSERT_FALSE(demoFile.empty());
    EXPECT_EQ(readWholeFile(home.path() + kSavedTimesFile), demoFile);
}

} // namespace
