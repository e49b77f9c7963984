// A view that draws only on change (the window) trusts `screenActivity` to say when the picture
// can next differ. Random sessions hold it to that: whenever it says nothing moves, the picture
// drawn now is the picture at any moment before the change it names; while it says something
// moves, frames follow at the display's rate, and it settles within a few seconds once the
// stopwatch is stopped. A running stopwatch is not "moving": it changes at its next tenth.
//
// Every session comes from its seed, the number in the test's name (`--gtest_filter=*/7` runs
// session 7 alone); a failure prints the session as a script for `lapvane sim`.

#include "tests/simulator/AddonSimulatorFixture.h"

#include "simulator/render/Picture.h"
#include "simulator/scene/ScreenActivity.h"
#include "simulator/scene/ScreenPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSteps = 30;
constexpr double kFrame = 1.0 / 60;

std::string randomStep(std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto row = [&] { return std::to_string(pick(2)) + " " + std::to_string(pick(3)); };
    static const std::vector<std::string> lines = {
        "tab stopwatch",  "tab saved", "start",   "lap",    "stop",      "save",
        "reset",          "edit",      "done",    "add",    "type Work", "button Add",
        "button Dismiss", "back",      "unswipe", "launch", "wait 0.05", "wait 0.3"};
    switch (pick(6)) {
    case 0:
        return "tap " + row();
    case 1:
        return pick(2) == 0 ? "swipe " + row() : "delete " + row();
    case 2:
        return "move " + row() + " " + row();
    default:
        return lines[static_cast<std::size_t>(pick(static_cast<int>(lines.size())))];
    }
}

class DrawingOnChange : public testing_support::AddonSimulatorTest,
                        public testing::WithParamInterface<unsigned> {
  protected:
    render::Picture picture() {
        render::Scene scene = sim::screenScene(*device);
        scene.scale = 1;
        return render::Picture::of(scene);
    }

    static int differentPixels(const render::Picture& a, const render::Picture& b) {
        int different = 0;
        for (int y = 0; y < a.height(); ++y) {
            for (int x = 0; x < a.width(); ++x) {
                render::Rgba p = a.pixel(x, y);
                render::Rgba q = b.pixel(x, y);
                different += p.red != q.red || p.green != q.green || p.blue != q.blue ? 1 : 0;
            }
        }
        return different;
    }

    // After a step: frames while something moves, then, settled, the picture must hold until
    // just before the next change named.
    void followTheScreen(const std::string& script) {
        double movingSince = device->now();
        for (;;) {
            sim::ScreenActivity activity = sim::screenActivity(*device);
            if (activity.moving) {
                ASSERT_LT(device->now() - movingSince, 5.0) << "still moving after 5 s\n" << script;
                device->runFor(kFrame);
                continue;
            }
            ASSERT_TRUE(activity.nextChange.has_value());
            double until = *activity.nextChange - device->now();
            ASSERT_GT(until, 0) << "a change that is due now is not a change to come\n" << script;
            render::Picture drawn = picture();
            // Up to a millisecond before the change, or a second on.
            device->runFor(std::min(until - 0.001, 1.0));
            int different = differentPixels(drawn, picture());
            ASSERT_EQ(different, 0) << "the picture changed " << until << " s before the next change named\n"
                                    << script;
            return;
        }
    }
};

TEST_P(DrawingOnChange, SaysWhenThePictureCanNextChangeThroughARandomSession) {
    std::mt19937 random(GetParam());
    // Two results to browse before the session proper.
    std::string script = "launch\ntab stopwatch\nstart\nwait 1.25\nlap\nwait 0.5\nstop\nsave\nreset\n"
                         "start\nwait 2\nstop\nsave\ntab saved\n";
    ASSERT_NE(run(script), sim::kExitFault) << err.str();
    for (int step = 0; step < kSteps && !HasFailure(); ++step) {
        std::string line = randomStep(random);
        script += line + "\n";
        ASSERT_NE(run(line + "\n"), sim::kExitFault) << err.str() << script;
        followTheScreen(script);
    }
}

INSTANTIATE_TEST_SUITE_P(Sessions, DrawingOnChange, testing::Range(0U, 10U));

using DrawingOnChangeStopwatch = testing_support::AddonSimulatorTest;

TEST_F(DrawingOnChangeStopwatch, ChangesAtItsNextTenthOfTotalOrLap) {
    ASSERT_EQ(run("launch\nwait 1\ntab stopwatch\nstart\nwait 1.25\nlap\nwait 0.02\n"), sim::kExitOk)
        << err.str();
    sim::ScreenActivity activity = sim::screenActivity(*device);
    EXPECT_FALSE(activity.moving);
    ASSERT_TRUE(activity.nextChange.has_value());
    // The total (1.27 s) and the lap (0.02 s) turn their tenths 0.03 s and 0.08 s from now.
    EXPECT_NEAR(*activity.nextChange - device->now(), 0.03, 1e-6);
    EXPECT_DOUBLE_EQ(sim::nextTenthAfter(0.3), 0.4);
    EXPECT_DOUBLE_EQ(sim::nextTenthAfter(0.29999999999), 0.4);
    EXPECT_DOUBLE_EQ(sim::nextTenthAfter(0), 0.1);
}

} // namespace
