#include "hosts/clock/StopWatchViewController.h"

#include "hosts/clock/ClockMessages.h"
#include "hosts/clock/ClockPreferences.h"
#include "hosts/clock/StopWatchLapTimeView.h"
#include "hosts/clock/StopwatchTimeText.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/runtime/ObjcClass.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIKitMessages.h"
#include "tests/hosts/ClockHostFixture.h"
#include "tests/support/CaseName.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using testing_support::ClockHostTest;

class StopWatchViewControllerTest : public ClockHostTest {
  protected:
    void SetUp() override {
        screen = StopWatchViewController::stopwatch();
        screen->view();
    }
    void tap(const std::shared_ptr<UIButton>& button) {
        ASSERT_TRUE(button->simulateTap());
        device.runLoop.runOnce();
    }
    void startStop() { tap(screen->startStopButton()); }
    void lapReset() { tap(screen->lapResetButton()); }

    std::shared_ptr<StopWatchViewController> screen;
};

TEST_F(StopWatchViewControllerTest, StoppingStoresTheTotalAndResettingStoresZero) {
    startStop();
    runFor(30.04);
    lapReset();
    runFor(15.36);
    startStop();
    ASSERT_TRUE(setting("LASTTIME").has_value());
    EXPECT_NEAR(*setting("LASTTIME"), 45.40, 1e-9);
    EXPECT_EQ(screen->startStopButton()->currentTitle(), "Start");
    EXPECT_EQ(screen->lapResetButton()->currentTitle(), "Reset");

    lapReset();
    EXPECT_EQ(setting("LASTTIME"), 0.0);
    EXPECT_TRUE(screen->laps().empty());
    EXPECT_EQ(screen->totalTime(), 0.0);
}

// Reset is offered exactly when it has something to clear: time, or laps even when they add up
// to nothing (a lap and a stop at the very moment of the start).
TEST_F(StopWatchViewControllerTest, ResetIsEnabledWhileThereIsTimeOrALapToClear) {
    EXPECT_FALSE(screen->lapResetButton()->isEnabled()) << "a new stopwatch";
    startStop();
    lapReset();
    startStop();
    ASSERT_EQ(screen->totalTime(), 0.0);
    ASSERT_EQ(screen->laps().size(), 1U);
    EXPECT_TRUE(screen->lapResetButton()->isEnabled()) << "a lap of no time";
    lapReset();
    EXPECT_TRUE(screen->laps().empty());
    EXPECT_FALSE(screen->lapResetButton()->isEnabled()) << "after Reset";
    startStop();
    runFor(1);
    startStop();
    EXPECT_TRUE(screen->lapResetButton()->isEnabled()) << "a second and no lap";
}

TEST_F(StopWatchViewControllerTest, ItsStateIsReadableByNameThroughTheRuntime) {
    startStop();
    runFor(30.04);
    lapReset();
    runFor(30.03);
    lapReset();
    runFor(15.36);

    id object = screen;
    Ivar running = class_getInstanceVariable(object_getClass(object), "_isTimerRunning");
    ASSERT_NE(running, nullptr);
    EXPECT_STREQ(ivar_getTypeEncoding(running), "c");
    EXPECT_EQ(*reinterpret_cast<const char*>(object->ivarBase() + ivar_getOffset(running)), 1);

    auto laps =
        rt::cast<NSMutableArray>(object_getIvar(object, class_getInstanceVariable(object->isa(), "_laps")));
    ASSERT_NE(laps, nullptr);
    ASSERT_EQ(laps->count(), 2u);
    EXPECT_NEAR(laps->objectAs<NSNumber>(0)->doubleValue(), 30.04, 1e-9);
    EXPECT_NEAR(laps->objectAs<NSNumber>(1)->doubleValue(), 30.03, 1e-9);

    id lapView = object_getIvar(object, class_getInstanceVariable(object->isa(), "_laptimeView"));
    EXPECT_NEAR(rt::send(lapView, clockmsg::currentLapTime), 15.36, 1e-9);
    runFor(1);
    EXPECT_NEAR(rt::send(lapView, clockmsg::currentLapTime), 16.36, 1e-9);

    Ivar view = class_getInstanceVariable(object->isa(), "_view");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(object_getIvar(object, view), screen->view());
}

TEST_F(StopWatchViewControllerTest, StoppingKeepsTheCurrentLapFrozen) {
    startStop();
    runFor(5);
    startStop();
    runFor(100);
    EXPECT_NEAR(rt::send(id(screen->lapTimeView()), clockmsg::currentLapTime), 5.0, 1e-9);
    startStop();
    runFor(2);
    EXPECT_NEAR(screen->totalTime(), 7.0, 1e-9);
}

TEST_F(StopWatchViewControllerTest, AResultStoppedBeforeQuittingComesBackStopped) {
    startStop();
    runFor(10);
    lapReset();
    runFor(4);
    startStop();

    auto relaunched = StopWatchViewController::stopwatch();
    EXPECT_FALSE(relaunched->isRunning());
    EXPECT_EQ(relaunched->laps().size(), 1u);
    EXPECT_NEAR(relaunched->totalTime(), 14.0, 1e-9);
    EXPECT_NEAR(relaunched->lapTimeView()->currentLapTime(), 4.0, 1e-9);
}

// However short, a stopped result keeps its lap and its current lap: results of half a second to
// three with a lap at a fifth of a second, and one stopped at the moment of its lap.
TEST_F(StopWatchViewControllerTest, AShortResultStoppedComesBackWithItsLap) {
    const std::vector<std::pair<double, double>> lapAndTotal{
        {0.2, 0.5}, {0.2, 1.0}, {0.2, 1.5}, {0.2, 3.0}, {2.0, 2.0}};
    for (const auto& [lapAt, total] : lapAndTotal) {
        SCOPED_TRACE(total);
        startStop();
        runFor(lapAt);
        lapReset();
        runFor(total - lapAt);
        startStop();
        auto relaunched = StopWatchViewController::stopwatch();
        EXPECT_EQ(relaunched->laps().size(), 1U);
        EXPECT_NEAR(relaunched->totalTime(), total, 1e-9);
        EXPECT_NEAR(relaunched->lapTimeView()->currentLapTime(), total - lapAt, 1e-9);
        lapReset();
    }
}

// Laps that add up to more than the stored total were not written with it: the total comes back
// alone, all of it in the current lap.
TEST_F(StopWatchViewControllerTest, LapsThatDoNotFitTheStoredTotalAreLeftOut) {
    clk::ClockPreferences::update(
        {{clk::kLastTimeKey, NSNumber::withDouble(5)},
         {clk::kLapTimesKey, NSArray::with({NSNumber::withDouble(3), NSNumber::withDouble(4)})}});
    auto relaunched = StopWatchViewController::stopwatch();
    EXPECT_TRUE(relaunched->laps().empty());
    EXPECT_NEAR(relaunched->totalTime(), 5.0, 1e-9);
    EXPECT_NEAR(relaunched->lapTimeView()->currentLapTime(), 5.0, 1e-9);
}

// Each step the buttons take is reached through the runtime, so a replacement installed by a
// loaded library runs when the user presses the button.
struct HookCase {
    const char* selector;
    std::vector<std::string> presses;
};

void PrintTo(const HookCase& c, std::ostream* out) {
    *out << c.selector;
}

class StopWatchHookTable : public StopWatchViewControllerTest,
                           public ::testing::WithParamInterface<HookCase> {
  protected:
    void SetUp() override {}
};

TEST_P(StopWatchHookTable, AReplacementRunsWhenTheUserTakesTheStep) {
    int calls = 0;
    IMP original;
    SEL sel = sel_registerName(GetParam().selector);
    rt::Runtime::current().classFor<StopWatchViewController>();
    // The screen's own method is replaced, as a hooking library replaces it.
    Method method = objc_getClass("StopWatchViewController")->ownMethod(sel);
    ASSERT_NE(method, nullptr) << GetParam().selector << " is not the screen's own method";
    original = method_setImplementation(method, rt::imp<void()>([&calls, &original](const id& self, SEL cmd) {
                                            ++calls;
                                            rt::callImp<void()>(original, self, cmd);
                                        }));
    ASSERT_TRUE(original);
    screen = StopWatchViewController::stopwatch();
    screen->view();
    for (const auto& press : GetParam().presses) {
        press == "startStop" ? startStop() : lapReset();
        runFor(1);
    }
    EXPECT_EQ(calls, 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, StopWatchHookTable,
                         ::testing::Values(HookCase{"viewDidLoad", {}},
                                           HookCase{"_startTimer", {"startStop"}},
                                           HookCase{"_stopTimer", {"startStop", "startStop"}},
                                           HookCase{"_lap", {"startStop", "lapReset"}},
                                           HookCase{"_clearAllLaps", {"startStop", "startStop", "lapReset"}}),
                         [](const auto& info) {
                             std::string name;
                             for (char c : std::string(info.param.selector)) {
                                 if (std::isalnum(static_cast<unsigned char>(c))) {
                                     name += c;
                                 }
                             }
                             return name;
                         });

struct TimeTextCase {
    double seconds;
    const char* text;
};

void PrintTo(const TimeTextCase& c, std::ostream* out) {
    *out << c.seconds << " shows " << c.text;
}

class StopwatchTimeTextTable : public ::testing::TestWithParam<TimeTextCase> {};

TEST_P(StopwatchTimeTextTable, CutsToTenths) {
    EXPECT_EQ(clk::stopwatchTimeText(GetParam().seconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Times, StopwatchTimeTextTable,
                         ::testing::Values(TimeTextCase{0, "00:00.0"}, TimeTextCase{-3, "00:00.0"},
                                           TimeTextCase{0.3, "00:00.3"}, TimeTextCase{9.96, "00:09.9"},
                                           TimeTextCase{75.43, "01:15.4"}, TimeTextCase{3599.99, "59:59.9"},
                                           TimeTextCase{3600, "1:00:00.0"},
                                           TimeTextCase{36610.5, "10:10:10.5"}),
                         testing_support::PrintedName());

// The total kept between ticks follows every change of the laps array, whoever makes it: laps
// appended, a lap replaced or removed, the array cleared or swapped for another, each time equal
// to a fresh sum of the laps in order.
TEST_F(StopWatchViewControllerTest, TheTotalFollowsEveryChangeOfTheLaps) {
    auto freshSum = [&] {
        double sum = 0;
        for (double lap : screen->laps()) {
            sum += lap;
        }
        return sum;
    };
    startStop();
    for (int i = 0; i < 5; ++i) {
        runFor(0.1 * (i + 1));
        lapReset();
        EXPECT_EQ(screen->finishedLapsTotal(), freshSum());
    }
    startStop();
    auto array =
        rt::cast<NSMutableArray>(object_getIvar(screen, class_getInstanceVariable(screen->isa(), "_laps")));
    ASSERT_TRUE(array);
    array->replaceObjectAtIndex(1, NSNumber::withDouble(7.25));
    EXPECT_EQ(screen->finishedLapsTotal(), freshSum());
    array->removeObjectAtIndex(0);
    array->addObject(NSNumber::withDouble(1.5));
    EXPECT_EQ(screen->finishedLapsTotal(), freshSum()) << "a removal and an append: the count is the same";
    object_setIvar(screen, class_getInstanceVariable(screen->isa(), "_laps"),
                   NSMutableArray::with({NSNumber::withDouble(3)}));
    EXPECT_EQ(screen->finishedLapsTotal(), 3.0);
    lapReset();
    EXPECT_EQ(screen->finishedLapsTotal(), 0.0);
}

} // namespace
