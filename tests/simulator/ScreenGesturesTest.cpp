// Pointer and keys on the screen become the toolkit's gestures on what is drawn there: a tab, the
// stopwatch's buttons, the Saved tab's rows, bar items and editing controls, an alert's buttons
// and text field. The add-on's hooks are installed, as on the phone.

#include "tests/simulator/SimulatorFixture.h"

#include "simulator/scene/ScreenGestures.h"

#include "addon/hooks/AddonState.h"
#include "addon/hooks/HookInstaller.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

// The screen of the "iphone-4" profile (320 x 568 points): five tabs of 64 points in a bar of 49
// at the bottom.
CGPoint tabPoint(int index) {
    return {static_cast<CGFloat>(64 * index + 32), 545};
}

class ScreenGesturesTest : public testing_support::SimulatorTest {
  protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        device.reset();
        auto system = sim::findDeviceSystemFolder();
        sim::DeviceSettings settings;
        settings.systemFolder = *system;
        settings.home = home.path();
        settings.profile = *sim::deviceProfileNamed("iphone-4");
        settings.localeIdentifier = "en_US";
        settings.timeZoneName = "UTC";
        settings.startUnixSeconds = testing_support::kSimulatorStart;
        // The add-on's hooks are installed from this program's own copy, so that every case
        // starts from empty slots (a library opened again would not run its initialiser again).
        settings.loadLibraries = false;
        device = std::make_unique<sim::Device>(settings);
        lv::resetAddonState();
        lv::installHooks();
        device->launchClock();
        device->runFor(1);
    }
    void TearDown() override {
        device->quitClock();
        lv::resetAddonState();
        SimulatorTest::TearDown();
    }
    sim::ScreenGestures gestures() { return sim::ScreenGestures(*device); }
    // Two results in Default, on the Saved tab with its bar settled.
    void twoResultsOnTheSavedTab() {
        ASSERT_EQ(run("tab stopwatch\nstart\nwait 1\nstop\nsave\nreset\nstart\nwait 2\nstop\nsave\n"
                      "tab saved\nwait 1\n"),
                  sim::kExitOk)
            << err.str();
    }
    std::vector<int> rowCounts() {
        std::vector<int> counts;
        json state = dump();
        for (const json& section : state["saved"]["saved_table"]["sections"]) {
            counts.push_back(section["row_count"]);
        }
        return counts;
    }
};

// Points on the Saved tab: the bar's items, and the rows of 70 points below Default's header.
constexpr CGPoint kLeftItem{30, 42};
constexpr CGPoint kRightItem{290, 42};
constexpr CGPoint kFirstRow{160, 120};
constexpr CGPoint kFirstRowMinus{20, 121};
constexpr CGPoint kFirstRowDelete{280, 121};
constexpr CGPoint kSecondRowGrabber{300, 191};
constexpr CGPoint kStartStop{85, 192};

TEST_F(ScreenGesturesTest, AClickOnATabShowsIt) {
    auto g = gestures();
    EXPECT_TRUE(g.click(tabPoint(3)));
    EXPECT_EQ(dump()["tab"]["index"], 3);
    EXPECT_TRUE(g.click(tabPoint(4)));
    EXPECT_EQ(dump()["tab"]["index"], 4);
}

TEST_F(ScreenGesturesTest, TheStopwatchsButtonsTakeClicksAndEmptyScreenTakesNothing) {
    auto g = gestures();
    ASSERT_TRUE(g.click(tabPoint(3)));
    EXPECT_TRUE(g.click(kStartStop));
    EXPECT_EQ(dump()["stopwatch"]["running"], true);
    EXPECT_FALSE(g.click({160, 400})) << "nothing is drawn there";
    EXPECT_TRUE(g.click(kStartStop));
    EXPECT_EQ(dump()["stopwatch"]["running"], false);
}

TEST_F(ScreenGesturesTest, ATapOnARowSlidesItsLapsInAndTheBackControlSlidesThemOut) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    EXPECT_TRUE(g.click(kFirstRow));
    device->runFor(1);
    EXPECT_EQ(dump()["saved"]["laps_table"]["frame_on_screen"][0], 0.0);
    EXPECT_TRUE(g.click(kLeftItem));
    device->runFor(1);
    EXPECT_EQ(dump()["saved"]["laps_table"]["frame_on_screen"][0], 320.0);
}

TEST_F(ScreenGesturesTest, KeysTypeIntoTheNewSectionDialogEscapeCancelsAndReturnAdds) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    ASSERT_TRUE(g.click(kRightItem));
    device->runFor(1);
    ASSERT_TRUE(g.click(kLeftItem));
    device->runFor(1);
    EXPECT_TRUE(g.type("Lä"));
    EXPECT_TRUE(g.type("ps"));
    EXPECT_TRUE(g.backspace());
    EXPECT_TRUE(g.backspace());
    EXPECT_TRUE(g.backspace());
    EXPECT_TRUE(g.type("ap"));
    EXPECT_EQ(dump()["alerts"][0]["text"], "Lap") << dump()["alerts"].dump();
    EXPECT_FALSE(g.click(kFirstRow)) << "the alert in front takes every touch";
    EXPECT_TRUE(g.pressEscape());
    device->runFor(1);
    EXPECT_EQ(rowCounts(), (std::vector<int>{2}));
    ASSERT_TRUE(g.click(kLeftItem));
    device->runFor(1);
    EXPECT_TRUE(g.type("Laps"));
    EXPECT_TRUE(g.pressReturn());
    device->runFor(1);
    EXPECT_EQ(rowCounts(), (std::vector<int>{2, 0}));
}

TEST_F(ScreenGesturesTest, ASidewaysDragSwipesARowAndAClickOnDeleteRemovesIt) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    EXPECT_FALSE(g.drag({200, 120}, {190, 190})) << "a drag down is no swipe";
    EXPECT_TRUE(g.drag({250, 120}, {120, 125}));
    device->runFor(1);
    EXPECT_TRUE(g.click(kFirstRowDelete));
    device->runFor(1);
    EXPECT_EQ(rowCounts(), (std::vector<int>{1}));
}

TEST_F(ScreenGesturesTest, InEditModeTheMinusShowsDeleteAndTheGrabberMovesTheRow) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    EXPECT_FALSE(g.reorderControlAt(kSecondRowGrabber)) << "no grabber outside edit mode";
    ASSERT_TRUE(g.click(kRightItem));
    device->runFor(1);
    ASSERT_TRUE(g.reorderControlAt(kSecondRowGrabber));
    EXPECT_FALSE(g.reorderControlAt({160, 191})) << "the middle of the row is no grabber";
    // The second row dropped on the first.
    EXPECT_TRUE(g.drag(kSecondRowGrabber, {300, 110}));
    device->runFor(1);
    EXPECT_EQ(dump()["saved"]["saved_table"]["sections"][0]["rows"][0]["main"], "Time: 2.0");
    EXPECT_TRUE(g.click(kFirstRowMinus));
    device->runFor(0.5);
    EXPECT_TRUE(g.click(kFirstRowDelete));
    device->runFor(1);
    EXPECT_EQ(rowCounts(), (std::vector<int>{1}));
}

TEST_F(ScreenGesturesTest, ARelaunchShowsTheLaunchImageWhichTakesNoTouch) {
    auto g = gestures();
    EXPECT_EQ(g.relaunch(), "Default-568h@2x~lapvane.png");
    EXPECT_TRUE(device->launchImageShown().has_value());
    EXPECT_FALSE(g.click(tabPoint(3)));
    device->runFor(1);
    EXPECT_TRUE(g.click(tabPoint(3)));
}

} // namespace
