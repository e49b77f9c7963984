// The window shows what the device shows. Seeded random sessions under a virtual X server (taps
// on tabs, the stopwatch's buttons, Save, results and the bar's items; swipes, drags and flicks;
// a new section typed in), and after each step, once the device has settled, the window's
// drawing area as the X server holds it is compared with `shot` (Ctrl+S) of the same moment:
// pixels differ by more than 0.15 in a channel in under 1 in 200 of them (text edges). While the
// stopwatch runs on screen its two time texts, which change ten times a second, are left out: the
// shot and the X server's copy cannot be taken at the same tenth. Each seed is its name's number
// (`--gtest_filter=*/2`); a failure prints the steps.
//
// A running stopwatch costs little: in ten seconds of it the window draws a picture at each
// tenth and no more, and a stopped one none; neither spins (the process's own CPU ticks).

#include "tests/simulator/LapvaneProgram.h"
#include "tests/simulator/window/WindowDriver.h"
#include "tests/simulator/window/XwdScreen.h"
#include "tests/support/TemporaryDirectory.h"

#include "simulator/render/Picture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using nlohmann::json;
using testing_support::driveWindow;
using testing_support::readWholeFile;
using testing_support::runLapvane;

constexpr int kSteps = 7;
// The longest a step takes to settle: a coast and its spring back, an animation followed by the
// 0.1 s reload and a delayed removal.
constexpr const char* kSettle = "sleep 1.6\n";
// Pixels that may differ, as a share of the screen.
constexpr double kTolerance = 1.0 / 200;
// The stopwatch's total and lap texts, in points, left out while it runs.
const CGRect kStopwatchTexts = CGRectMake(0, 60, 320, 110);

// One step, as drive-window's lines; points on the 320 x 568 screen.
std::string randomStep(std::mt19937& random) {
    static const std::vector<std::string> steps = {
        "click 224 544",                          // the stopwatch tab
        "click 288 544",         "click 288 544", // the Saved tab
        "click 85 192",                           // Start / Stop
        "click 235 192",                          // Lap / Reset
        "click 85 52",                            // Save
        "click 160 121",         "click 160 191", // a result: its laps slide in
        "click 30 42",           "click 30 42",   // back, or Add in edit mode
        "click 290 42",          "click 290 42",  // Edit / Done
        "drag 280 121 80 125",                    // a swipe: Delete shows
        "click 20 121",                           // a minus control in edit mode
        "flick 160 420 160 120",                  // a flick that coasts
        "drag 160 150 160 420",                   // a pull past the top, springing back
        "type Laps\nkey Return",                  // a name for a new section
    };
    return steps[random() % steps.size()];
}

int differentPixels(const render::Picture& shot, const testing_support::XwdScreen& screen, int left, int top,
                    bool skipStopwatchTexts) {
    int different = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (skipStopwatchTexts && x >= kStopwatchTexts.origin.x * 2 &&
                y >= kStopwatchTexts.origin.y * 2 && x < CGRectGetMaxX(kStopwatchTexts) * 2 &&
                y < CGRectGetMaxY(kStopwatchTexts) * 2) {
                continue;
            }
            render::Rgba a = shot.pixel(x, y);
            render::Rgba b = screen.pixel(left + x, top + y);
            double d =
                std::max({std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
            different += d > 0.15 ? 1 : 0;
        }
    }
    return different;
}

// Half a core: far above what a running stopwatch costs (a few percent, three times that under
// the sanitizers), far below a loop that spins.
constexpr double kRunningBound = 0.5;

class WindowTruth : public testing::TestWithParam<unsigned> {};

TEST_P(WindowTruth, AfterEverySettledStepTheWindowShowsWhatShotDraws) {
    REQUIRE_WINDOW_TOOLS();
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    // Three results to browse, the second with laps.
    auto made = runLapvane({"sim", "--home", home.path(), "--tz", "UTC", "--locale", "en_US"},
                           "launch\ntab stopwatch\nstart\nwait 3\nstop\nsave\nreset\nstart\nwait 1.5\nlap\n"
                           "wait 2\nlap\nwait 1\nstop\nsave\nreset\nstart\nwait 7\nstop\nsave\nreset\n");
    ASSERT_EQ(made.status, 0) << made.err;

    std::mt19937 random(GetParam());
    std::string steps = "sleep 1.5\nclick 288 544\n";
    steps += kSettle;
    // The X server's copy first: any key, Ctrl+S included, makes the window draw afresh, which
    // would hide a frame left stale.
    steps += "grab step-0.xwd\nkey ctrl+s\ndump\n";
    for (int step = 1; step <= kSteps; ++step) {
        steps += randomStep(random) + "\n" + kSettle + "grab step-" + std::to_string(step) +
                 ".xwd\nkey ctrl+s\ndump\n";
    }
    auto run =
        driveWindow(home.path(), work.path(), steps,
                    {"--tz", "UTC", "--locale", "en_US", "--scale", "2", "--now", "2026-12-07T08:30:00Z"});
    ASSERT_EQ(run.status, 0) << run.driverErr << run.err << run.out << steps;
    std::smatch place;
    ASSERT_TRUE(std::regex_search(run.out, place, std::regex("screen: 640x1136 pixels at ([0-9]+),([0-9]+)")))
        << run.out;
    int left = std::stoi(place[1]);
    int top = std::stoi(place[2]);
    auto dumps = testing_support::dumpsIn(run.out);
    ASSERT_EQ(dumps.size(), static_cast<std::size_t>(kSteps + 1)) << run.out;
    for (int step = 0; step <= kSteps; ++step) {
        auto shot =
            render::Picture::readPng(work.path() + "/lapvane-shot-" + std::to_string(step + 1) + ".png", 2);
        auto screen =
            testing_support::XwdScreen::read(work.path() + "/step-" + std::to_string(step) + ".xwd");
        ASSERT_TRUE(shot && screen) << "step " << step;
        const json& state = dumps[static_cast<std::size_t>(step)];
        bool ticking = state["stopwatch"].is_object() && state["stopwatch"]["running"] == true &&
                       state["tab"]["index"].is_number() &&
                       state["tab"]["titles"][state["tab"]["index"].get<std::size_t>()] == "Stopwatch";
        int different = differentPixels(*shot, *screen, left, top, ticking);
        EXPECT_LT(different, shot->width() * shot->height() * kTolerance)
            << "step " << step << ": " << different << " pixels differ; the steps:\n"
            << steps;
        if (HasFailure()) {
            return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowTruth, testing::Range(1U, 4U),
                         [](const testing::TestParamInfo<unsigned>& info) {
                             return std::to_string(info.param);
                         });

TEST(WindowCost, ARunningStopwatchIsDrawnAtEachTenthAndAStoppedOneNotAtAll) {
    REQUIRE_WINDOW_TOOLS();
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    // The default scale on a 1024 x 768 screen (1.25); the stopwatch tab, Start, ten seconds,
    // Stop, three seconds.
    auto run = driveWindow(home.path(), work.path(),
                           "sleep 1.5\nclick 224 544\nclick 85 192\nsleep 0.5\ncpu\nframes\nsleep 10\ncpu\n"
                           "frames\nclick 85 192\nsleep 0.5\ncpu\nframes\nsleep 3\ncpu\nframes\ndump\n",
                           {"--tz", "UTC", "--locale", "en_US"}, "1024x768");
    ASSERT_EQ(run.status, 0) << run.driverErr << run.err << run.out;
    auto dumps = testing_support::dumpsIn(run.out);
    ASSERT_EQ(dumps.size(), 1U) << run.out;
    EXPECT_EQ(dumps[0]["stopwatch"]["running"], false) << "Stop was taken";
    auto counts = [&](const std::string& name) {
        std::istringstream lines(readWholeFile(work.path() + "/" + name));
        std::vector<long> values(4, -1);
        for (long& value : values) {
            lines >> value;
        }
        return values;
    };
    std::vector<long> frames = counts("frames");
    std::vector<long> ticks = counts("cpu");
    ASSERT_GE(frames[3], 0) << readWholeFile(work.path() + "/frames");
    ASSERT_GE(ticks[3], 0) << readWholeFile(work.path() + "/cpu");
    // Ten seconds of tenths are 100 pictures (a slow step may add a few); the display's frame
    // rate would be about 600, each tenth twice 200. A
    // machine too busy to wake at every tenth draws fewer, but still some each second.
    EXPECT_LE(frames[1] - frames[0], 150) << "drawn more often than its tenths change";
    EXPECT_GE(frames[1] - frames[0], 30) << "the running stopwatch was not redrawn as it counted";
    // The status bar's minute may turn once.
    EXPECT_LE(frames[3] - frames[2], 1) << "a stopped stopwatch was drawn again";
    // The process's own CPU time, so a busy machine counts for little: a running stopwatch at
    // the default scale uses a few percent of a core, varying with the machine's state by up to
    // three times, so only a loop that spins (with or without drawing) crosses these bounds.
    auto perTick = 1.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    double running = static_cast<double>(ticks[1] - ticks[0]) * perTick / 10;
    double stopped = static_cast<double>(ticks[3] - ticks[2]) * perTick / 3;
    RecordProperty("running_share", std::to_string(running));
    EXPECT_LT(running, kRunningBound) << ticks[1] - ticks[0] << " ticks in 10 s of a running stopwatch";
    EXPECT_LT(stopped, 0.1) << ticks[3] - ticks[2] << " ticks in 3 s of a stopped one";
}

} // namespace
