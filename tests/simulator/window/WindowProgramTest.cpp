// `lapvane window` under a virtual X server (Xvfb, started by the test through xvfb-run), driven
// with real pointer and key events by xdotool: a timed run, Save, the Saved tab, a tap that slides
// the laps in, edit mode, a new section typed in, a move and a delete leave the same saved-times
// file and the same state as the equivalent `lapvane sim` script, and the window shows what the
// renderer draws. Without a display the command says so and points to `lapvane sim`.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/simulator/window/WindowDriver.h"
#include "tests/simulator/window/XwdScreen.h"
#include "tests/support/TemporaryDirectory.h"

#include "simulator/render/Picture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

using nlohmann::json;
using testing_support::fileWithoutTimes;
using testing_support::runLapvane;
using testing_support::withoutTimes;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool haveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Two timed runs saved, the Saved tab, a row tapped and the laps slid in, back, edit mode, a new
// section "Laps" typed in, the second result dragged by its reorder control into it (Default,
// emptied, goes) and the remaining result deleted with its minus control and Delete button.
// Points are on the iphone-5 screen (320 x 568): the stopwatch's Start/Stop at (85, 192), its
// Reset at (235, 192), Save at (85, 52), the tabs along y = 544, the bar's items at y = 42, rows
// of 70 points below a section header of 22 at y = 64.
constexpr const char* kWindowSteps = R"(sleep 1
click 224 544
click 85 192
sleep 1
click 85 192
click 85 52
click 235 192
click 85 192
sleep 1
click 85 192
click 85 52
click 288 544
sleep 1
click 160 120
sleep 1
click 30 42
sleep 1
click 290 42
sleep 1
click 30 42
sleep 1
type Laps
key Return
sleep 1
drag 300 191 300 240
sleep 1
click 20 121
sleep 0.5
click 280 121
sleep 1
dump
key ctrl+s
sleep 1
grab screen.xwd
)";

constexpr const char* kSimScript =
    "launch\nwait 1\ntab stopwatch\nstart\nwait 1\nstop\nsave\nreset\nstart\nwait 1\n"
    "stop\nsave\ntab saved\nwait 1\ntap 0 0\nwait 1\nback\nwait 1\nedit\nwait 1\n"
    "add\nwait 1\ntype Laps\nbutton Add\nwait 1\nmove 0 1 1 0\nwait 1\n"
    "delete 0 0\nwait 1\ndump\n";

const std::string kSavedTimesFile = "/Library/Preferences/com.varnoth.lapvane.plist";

TEST(WindowProgram, WithoutADisplayItSaysSoInOneLineAndSuggestsSim) {
    testing_support::TemporaryDirectory home;
    auto run = runLapvane({"window", "--home", home.path()}, {}, {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("cannot open a display"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("lapvane sim"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

TEST(WindowProgram, AScaleThatIsNeitherAutoNorAReasonableNumberIsRefused) {
    testing_support::TemporaryDirectory home;
    for (const char* scale : {"big", "0", "-1", "9", "1.5x"}) {
        auto run = runLapvane({"window", "--home", home.path(), "--scale", scale});
        EXPECT_EQ(run.status, 1) << scale;
        EXPECT_NE(run.err.find("--scale"), std::string::npos) << run.err;
    }
    auto run = runLapvane({"window", "--home", home.path(), "--play", "x", "--speed", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("--speed"), std::string::npos) << run.err;
}

TEST(WindowProgram, PointerAndKeysLeaveWhatTheEquivalentScriptLeavesAndTheWindowShowsThePicture) {
    if (!haveProgram("xvfb-run") || !haveProgram("xdotool")) {
        FAIL() << "xvfb-run and xdotool are needed (scripts/install-deps installs them)";
    }
    testing_support::TemporaryDirectory windowHome;
    testing_support::TemporaryDirectory work;
    std::string steps = work.file("steps");
    std::ofstream(steps) << kWindowSteps;
    std::string fbdir = work.file("fb/.keep");
    fbdir = fbdir.substr(0, fbdir.size() - 6);
    std::string command =
        "cd '" + work.path() + "' && XVFB_FBDIR='" + fbdir +
        "' timeout -k 10 100 xvfb-run -a -s '-screen 0 1400x1300x24 -nolisten tcp -fbdir " + fbdir +
        "' '" LAPVANE_SOURCE_DIR "/tests/simulator/window/drive-window' '" LAPVANE_LAPVANE_EXE "' '" +
        windowHome.path() + "' '" + work.path() + "' --tz UTC --locale en_US --scale 2 <'" + steps + "' 2>'" +
        work.path() + "/driver.err'";
    int status = testing_support::drivenWindowStatus(work.path(), std::system(command.c_str()));
    std::string windowOut = readFile(work.path() + "/window.out");
    ASSERT_EQ(status, 0) << readFile(work.path() + "/driver.err")
                         << testing_support::windowErrors(work.path()) << windowOut;
    EXPECT_EQ(testing_support::windowErrors(work.path()), "");
    auto windowDumps = testing_support::dumpsIn(windowOut);
    ASSERT_EQ(windowDumps.size(), 1U) << windowOut;

    testing_support::TemporaryDirectory simHome;
    auto sim = runLapvane({"sim", "--home", simHome.path(), "--tz", "UTC", "--locale", "en_US"}, kSimScript);
    ASSERT_EQ(sim.status, 0) << sim.err << sim.out;
    auto simDumps = testing_support::dumpsIn(sim.out);
    ASSERT_EQ(simDumps.size(), 1U);

    EXPECT_EQ(withoutTimes(windowDumps[0]).dump(2), withoutTimes(simDumps[0]).dump(2));
    EXPECT_EQ(windowDumps[0]["saved"]["saved_table"]["sections"][0]["title"], "Laps");
    std::string windowFile = readFile(windowHome.path() + kSavedTimesFile);
    ASSERT_FALSE(windowFile.empty());
    EXPECT_EQ(fileWithoutTimes(windowFile), fileWithoutTimes(readFile(simHome.path() + kSavedTimesFile)));

    // The window's screen, as the X server holds it, against the renderer's picture of the same
    // moment: the same pixels but for text edges and the status bar's clock.
    auto picture = render::Picture::readPng(work.path() + "/lapvane-shot-1.png", 2);
    ASSERT_TRUE(picture.has_value());
    auto screen = testing_support::XwdScreen::read(work.path() + "/screen.xwd");
    ASSERT_TRUE(screen.has_value());
    // Without a window manager the window sits at the top left corner; the window says where in
    // it the screen is.
    std::smatch place;
    ASSERT_TRUE(
        std::regex_search(windowOut, place, std::regex("screen: 640x1136 pixels at ([0-9]+),([0-9]+)")))
        << windowOut;
    int left = std::stoi(place[1]);
    int top = std::stoi(place[2]);
    int different = 0;
    for (int y = 0; y < picture->height(); ++y) {
        for (int x = 0; x < picture->width(); ++x) {
            render::Rgba a = picture->pixel(x, y);
            render::Rgba b = screen->pixel(left + x, top + y);
            double d =
                std::max({std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
            different += d > 0.15 ? 1 : 0;
        }
    }
    EXPECT_LT(different, picture->width() * picture->height() / 100)
        << different << " of " << picture->width() * picture->height() << " pixels differ";
}

} // namespace
