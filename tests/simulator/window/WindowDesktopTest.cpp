// `lapvane window` on a desktop: it names itself to the window system (WM_CLASS from its
// application id), its window can be resized and the screen's scale follows (clicks land where
// the smaller screen is drawn), and a session played with --play and recorded with --record
// holds the played commands and then what the person did, so its replay through `lapvane sim`
// gives the window's file, state and exit status.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/simulator/window/WindowDriver.h"
#include "tests/simulator/window/XwdScreen.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <regex>
#include <string>
#include <sys/wait.h>

namespace {

using testing_support::driveWindow;
using testing_support::readWholeFile;
using testing_support::runLapvane;

const std::string kSavedTimesFile = "/Library/Preferences/com.varnoth.lapvane.plist";
const std::string kStart = "2026-12-07T08:30:00Z";

// The mean brightness of a rectangle of the X screen, in pixels.
double brightness(const testing_support::XwdScreen& screen, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            render::Rgba p = screen.pixel(x, y);
            sum += (p.red + p.green + p.blue) / 3;
        }
    }
    return sum / ((x1 - x0) * (y1 - y0));
}

TEST(WindowDesktop, ItHasAClassAndWhenResizedTheScreensScaleAndItsClicksFollow) {
    REQUIRE_WINDOW_TOOLS();
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    // 460 x 600: the panel keeps its 300 pixels, so the screen gets 160 wide, half a pixel a point.
    auto run =
        driveWindow(home.path(), work.path(),
                    "sleep 1.5\nclassname ^com.varnoth.Lapvane$\nresize 460 600\nclick 288 544\nsleep 0.7\n"
                    "dump\ngrab small.xwd\n",
                    {"--tz", "UTC", "--locale", "en_US", "--scale", "2"});
    ASSERT_EQ(run.status, 0) << run.driverErr << run.err << run.out;
    EXPECT_EQ(readWholeFile(work.path() + "/classes"), "^com.varnoth.Lapvane$ 2\n")
        << "the window and its group leader carry the application id as their class name";
    std::smatch place;
    ASSERT_TRUE(std::regex_search(run.out, place,
                                  std::regex("screen: 640x1136 pixels at 0,0 in the window\n"
                                             "(.|\n)*screen: 160x284 pixels at 0,0 in the window")))
        << run.out;
    auto dumps = testing_support::dumpsIn(run.out);
    ASSERT_EQ(dumps.size(), 1U) << run.out;
    EXPECT_EQ(dumps[0]["tab"]["index"], 4) << "the click at the Saved tab of the smaller screen took it";
    auto screen = testing_support::XwdScreen::read(work.path() + "/small.xwd");
    ASSERT_TRUE(screen.has_value());
    // The tab bar, dark, at the foot of the smaller screen; the window's own background below.
    EXPECT_LT(brightness(*screen, 0, 262, 160, 282), 0.35);
    EXPECT_GT(brightness(*screen, 0, 300, 160, 400), 0.7);
}

TEST(WindowDesktop, APlayedSessionsRecordingHoldsThePlayedCommandsThenThePersonsAndReplaysAlike) {
    REQUIRE_WINDOW_TOOLS();
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    std::string script = work.path() + "/play.script";
    std::string record = work.path() + "/session.script";
    // The last line is refused (the Saved tab is not shown): the window ends with sim's status 2.
    std::ofstream(script)
        << "launch\nwait 1\ntab stopwatch\nstart\nwait 0.5\nstop\n# a comment\ndelete 5 5\n";
    auto run = driveWindow(home.path(), work.path(), "expect ^played: \nclick 85 52\nsleep 0.5\ndump\n",
                           {"--tz", "UTC", "--locale", "en_US", "--scale", "1", "--now", kStart, "--play",
                            script, "--record", record});
    ASSERT_TRUE(WIFEXITED(run.status)) << run.status;
    EXPECT_EQ(WEXITSTATUS(run.status), 2) << run.driverErr << run.err << run.out;
    auto windowDumps = testing_support::dumpsIn(run.out);
    ASSERT_EQ(windowDumps.size(), 1U) << run.out;

    std::string recorded = readWholeFile(record);
    EXPECT_TRUE(
        std::regex_match(recorded, std::regex("# lapvane window --record; replay: lapvane sim --device "
                                              "iphone-4 --locale en_US --tz UTC --now " +
                                              kStart +
                                              " FILE, on a copy of the home as it was\n"
                                              "launch\nwait 1.000\ntab stopwatch\nstart\nwait 0.500\n"
                                              "stop\ndelete 5 5\nwait [0-9.]+\nsave\n(wait [0-9.]+\n)?")))
        << recorded;

    testing_support::TemporaryDirectory simHome;
    std::ofstream(work.path() + "/dump.script") << "dump\n";
    auto sim = runLapvane({"sim", "--home", simHome.path(), "--device", "iphone-4", "--locale", "en_US",
                           "--tz", "UTC", "--now", kStart, record, work.path() + "/dump.script"});
    EXPECT_EQ(sim.status, WEXITSTATUS(run.status)) << sim.err;
    auto simDumps = testing_support::dumpsIn(sim.out);
    ASSERT_EQ(simDumps.size(), 1U) << sim.out;
    EXPECT_EQ(testing_support::withoutTimes(simDumps[0]).dump(2),
              testing_support::withoutTimes(windowDumps[0]).dump(2));
    std::string windowFile = readWholeFile(home.path() + kSavedTimesFile);
    ASSERT_FALSE(windowFile.empty()) << "the person's Save stored the played run";
    EXPECT_EQ(testing_support::fileWithoutTimes(readWholeFile(simHome.path() + kSavedTimesFile)),
              testing_support::fileWithoutTimes(windowFile));
}

} // namespace
