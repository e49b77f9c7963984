// When the screen changes by itself: at every frame while an animation of
// the platform has not ended, otherwise at the status bar's next minute (or an earlier delayed
// message), so a window that draws on change stays still when nothing moves.

#include "tests/simulator/SimulatorFixture.h"

#include "simulator/scene/ScreenActivity.h"

#include "platform/uikit/UIView.h"

#include <gtest/gtest.h>

namespace {

class ScreenActivityTest : public testing_support::SimulatorTest {
  protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        device->launchClock();
        device->runFor(1);
    }
    void TearDown() override {
        device->quitClock();
        SimulatorTest::TearDown();
    }
};

TEST_F(ScreenActivityTest, AnIdleScreenChangesNextWhenTheStatusBarsMinuteTurns) {
    // The device starts at 08:00:00 and has run for a second.
    auto activity = sim::screenActivity(*device);
    EXPECT_FALSE(activity.moving);
    ASSERT_TRUE(activity.nextChange.has_value());
    EXPECT_DOUBLE_EQ(*activity.nextChange, 60.0);
    device->runFor(60);
    EXPECT_DOUBLE_EQ(*sim::screenActivity(*device).nextChange, 120.0);
}

TEST_F(ScreenActivityTest, ARunningStopwatchChangesAtEveryTenthUntilItStops) {
    ASSERT_EQ(run("tab stopwatch\nstart\nwait 2.04\n"), sim::kExitOk) << err.str();
    auto running = sim::screenActivity(*device);
    EXPECT_FALSE(running.moving) << "its text changes ten times a second, not at every frame";
    ASSERT_TRUE(running.nextChange.has_value());
    EXPECT_NEAR(*running.nextChange - device->now(), 0.06, 1e-6);
    ASSERT_EQ(run("tab alarm\nwait 1\n"), sim::kExitOk) << err.str();
    EXPECT_DOUBLE_EQ(*sim::screenActivity(*device).nextChange, 60.0)
        << "counting behind another tab, it changes nothing on screen";
    ASSERT_EQ(run("tab stopwatch\n"), sim::kExitOk) << err.str();
    EXPECT_LT(*sim::screenActivity(*device).nextChange - device->now(), 0.1 + 1e-9);
    ASSERT_EQ(run("stop\n"), sim::kExitOk) << err.str();
    auto stopped = sim::screenActivity(*device);
    EXPECT_FALSE(stopped.moving);
    EXPECT_DOUBLE_EQ(*stopped.nextChange, 60.0) << "stopped, only the status bar's minute is to come";
}

TEST_F(ScreenActivityTest, AViewAnimationMovesThePictureThoughNoOneWaitsForItsEnd) {
    auto view = UIView::withFrame<UIView>(CGRectMake(0, 0, 10, 10));
    UIView::beginAnimationsContext();
    UIView::setAnimationDuration(0.4);
    view->setFrame(CGRectMake(100, 0, 10, 10));
    UIView::commitAnimations();
    EXPECT_TRUE(device->runLoop().pending().empty());
    EXPECT_TRUE(sim::screenActivity(*device).moving);
    device->runFor(0.41);
    EXPECT_FALSE(sim::screenActivity(*device).moving);
}

TEST_F(ScreenActivityTest, APlatformStepStillToComeMeansSomethingMovesUntilThen) {
    device->runLoop().scheduleStep(0.3, "an animation's end", nullptr, [] {});
    EXPECT_TRUE(sim::screenActivity(*device).moving);
    device->runFor(0.3);
    EXPECT_FALSE(sim::screenActivity(*device).moving);
}

} // namespace
