// Pointer and keys on the screen become the toolkit's gestures on what is drawn there: a tab, the
// stopwatch's buttons, the Saved tab's rows, bar items and editing controls, an alert's buttons
// and text field. The add-on's hooks are installed, as on the phone.

#include "tests/simulator/SimulatorFixture.h"

#include "simulator/render/AlertLayout.h"
#include "simulator/scene/Inspector.h"
#include "simulator/scene/ScreenGestures.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"

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

// The bar's items sit in its outer thirds; its middle third (the title) takes no click.
TEST_F(ScreenGesturesTest, TheBarsMiddleThirdTakesNoClickAndItsRightThirdIsTheRightItem) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    for (CGFloat x : {110.0F, 160.0F, 212.0F}) {
        EXPECT_FALSE(g.click({x, 42})) << x;
        device->runFor(1);
        EXPECT_EQ(dump()["saved"]["editing"], false) << x;
    }
    EXPECT_TRUE(g.click({214, 42}));
    device->runFor(1);
    EXPECT_EQ(dump()["saved"]["editing"], true);
}

TEST_F(ScreenGesturesTest, KeysWithNothingToActOnTakeNothing) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    EXPECT_FALSE(g.pressReturn()) << "no alert";
    EXPECT_FALSE(g.pressEscape()) << "no alert";
    EXPECT_FALSE(g.backspace()) << "no alert";
    EXPECT_EQ(rowCounts(), (std::vector<int>{2}));
    ASSERT_TRUE(g.click(kRightItem));
    device->runFor(1);
    ASSERT_TRUE(g.click(kLeftItem));
    device->runFor(1);
    EXPECT_FALSE(g.backspace()) << "an empty field";
    EXPECT_EQ(dump()["alerts"][0]["text"], "");
    ASSERT_TRUE(g.type("\xC3\xA9"));
    EXPECT_TRUE(g.backspace()) << "one character of two bytes";
    EXPECT_EQ(dump()["alerts"][0]["text"], "");
}

TEST_F(ScreenGesturesTest, TheScreensLeftmostPointsTakeClicks) {
    twoResultsOnTheSavedTab();
    EXPECT_TRUE(gestures().click({0, kFirstRow.y}));
    device->runFor(1);
    EXPECT_EQ(dump()["saved"]["laps_table"]["frame_on_screen"][0], 0.0) << "the row's laps slid in";
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

// Eight points or more on either axis is no click; thirty across and more across than down is a
// swipe.
TEST_F(ScreenGesturesTest, ASwipeIsAtLeastThirtyPointsWideAndWiderThanItIsTall) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    struct Drag {
        CGFloat dx;
        CGFloat dy;
        bool swipes;
    };
    for (Drag d : {Drag{-8, 0, false}, Drag{0, 8, false}, Drag{-29, 0, false}, Drag{-30, 0, true},
                   Drag{30, 0, true}, Drag{-30, 30, false}, Drag{-31, 30, true}, Drag{-31, -30, true}}) {
        SCOPED_TRACE(std::to_string(d.dx) + " across, " + std::to_string(d.dy) + " down");
        EXPECT_EQ(g.drag({200, 120}, {200 + d.dx, 120 + d.dy}), d.swipes);
        device->runFor(1);
        EXPECT_EQ(dump()["saved"]["saved_table"]["swiped"].is_null(), !d.swipes);
        if (d.swipes) {
            ASSERT_TRUE(g.click({160, 400}));
            device->runFor(1);
        }
    }
}

// The Delete button a swipe shows is the last 80 points of the row: a click on its left edge
// deletes, half a point before it hides the button.
TEST_F(ScreenGesturesTest, TheDeleteButtonTakesClicksFromItsLeftEdge) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    ASSERT_TRUE(g.drag({250, 120}, {120, 125}));
    device->runFor(1);
    EXPECT_TRUE(g.click({239.5F, 121}));
    device->runFor(1);
    EXPECT_TRUE(dump()["saved"]["saved_table"]["swiped"].is_null());
    EXPECT_EQ(rowCounts(), (std::vector<int>{2}));
    ASSERT_TRUE(g.drag({250, 120}, {120, 125}));
    device->runFor(1);
    EXPECT_TRUE(g.click({240, 121}));
    device->runFor(1);
    EXPECT_EQ(rowCounts(), (std::vector<int>{1}));
}

TEST_F(ScreenGesturesTest, ReturnAndEscapeEachCloseARefusalWithItsOneButton) {
    twoResultsOnTheSavedTab();
    auto g = gestures();
    ASSERT_TRUE(g.click(kRightItem));
    device->runFor(1);
    ASSERT_TRUE(g.click(kLeftItem));
    device->runFor(1);
    for (bool byReturn : {true, false}) {
        SCOPED_TRACE(byReturn ? "Return" : "Escape");
        ASSERT_TRUE(g.pressReturn()) << "Add with no name typed";
        device->runFor(1);
        ASSERT_EQ(dump()["alerts"].size(), 2U) << "the refusal stands over a fresh dialog";
        EXPECT_TRUE(byReturn ? g.pressReturn() : g.pressEscape());
        device->runFor(1);
        EXPECT_EQ(dump()["alerts"].size(), 1U) << dump()["alerts"].dump();
    }
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
    EXPECT_TRUE(g.reorderControlAt({276, 191})) << "the grabber's left edge, 44 points from the right";
    EXPECT_FALSE(g.reorderControlAt({275.5F, 191}));
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

TEST_F(ScreenGesturesTest, ARowDroppedOnAnEmptySectionsHeaderOrBelowTheLastRowEndsThatSection) {
    twoResultsOnTheSavedTab();
    ASSERT_EQ(run("edit\nwait 1\n"), sim::kExitOk) << err.str();
    auto g = gestures();
    // Default alone: dropped far below its last row, the first row becomes its last.
    auto firstRow = [this] { return dump()["saved"]["saved_table"]["sections"][0]["rows"][0]["main"]; };
    const auto first = firstRow();
    EXPECT_TRUE(g.drag({300, 121}, {300, 400}));
    device->runFor(1);
    EXPECT_NE(firstRow(), first);
    EXPECT_EQ(dump()["saved"]["saved_table"]["sections"][0]["rows"][1]["main"], first);
    ASSERT_EQ(run("add\ntype Work\nbutton Add\nwait 1\n"), sim::kExitOk) << err.str();
    ASSERT_EQ(rowCounts(), (std::vector<int>{2, 0}));
    // Default's two rows end at 226, where Work's empty section has its header: dropped on the
    // header's top edge.
    EXPECT_TRUE(g.drag({300, 121}, {300, 226}));
    device->runFor(1);
    EXPECT_EQ(rowCounts(), (std::vector<int>{1, 1}));
    // Far below Work's one row: the end of Work, and Default, emptied, goes.
    EXPECT_TRUE(g.drag({300, 121}, {300, 420}));
    device->runFor(1);
    EXPECT_EQ(rowCounts(), (std::vector<int>{2}));
    EXPECT_EQ(dump()["saved"]["saved_table"]["sections"][0]["title"], "Work");
}

TEST_F(ScreenGesturesTest, AHeldRowLiftsFollowsThePointerAndOpensTheGapWhereItWouldLand) {
    ASSERT_EQ(run("tab stopwatch\nstart\nwait 1\nstop\nsave\nreset\nstart\nwait 2\nstop\nsave\nreset\n"
                  "start\nwait 3\nstop\nsave\ntab saved\nwait 1\nedit\nwait 1\n"),
              sim::kExitOk)
        << err.str();
    auto g = gestures();
    constexpr CGPoint kFirstRowGrabber{300, 121};
    auto held = g.reorderControlAt(kFirstRowGrabber);
    ASSERT_TRUE(held);
    auto& table = *held->table;
    auto cellAt = [&table](int row) {
        return table.cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(row, 0));
    };
    auto first = cellAt(0);
    auto second = cellAt(1);
    auto third = cellAt(2);
    CGFloat top = first->frame().origin.y;
    // Down by two rows and a bit: over the third row, where a drop puts it last.
    g.hover(*held, kFirstRowGrabber, {300, 121 + 150});
    EXPECT_EQ(first->frame().origin.y, top + 150) << "the held row follows the pointer";
    EXPECT_EQ(second->frame().origin.y, top) << "the rows it passed move up into its room";
    EXPECT_EQ(third->frame().origin.y, top + 70);
    EXPECT_EQ(table.subviews().back(), first) << "the held row is in front";
    EXPECT_EQ(rowCounts(), (std::vector<int>{3})) << "nothing is moved before the drop";
    // Back up to its place: the gap closes.
    g.hover(*held, kFirstRowGrabber, {300, 125});
    EXPECT_EQ(second->frame().origin.y, top + 70);
    // Dropped over the third row: the same move `move 0 0 0 2` makes.
    EXPECT_TRUE(g.drop(*held, {300, 121 + 150}));
    device->runFor(1);
    auto rows = dump()["saved"]["saved_table"]["sections"][0]["rows"];
    EXPECT_EQ(rows[2]["main"], "Time: 1.0") << rows.dump();
    EXPECT_EQ(rows[0]["main"], "Time: 2.0");
    EXPECT_EQ(table.cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(0, 0))->frame().origin.y,
              top);
}

TEST_F(ScreenGesturesTest, EachGestureTellsTheRecorderTheCommandThatMeansIt) {
    twoResultsOnTheSavedTab();
    std::vector<std::string> lines;
    auto g = gestures();
    g.setRecorder([&lines](const std::string& line) { lines.push_back(line); });
    ASSERT_TRUE(g.click(tabPoint(3)));
    ASSERT_TRUE(g.click(kStartStop));
    ASSERT_TRUE(g.click(kStartStop));
    ASSERT_TRUE(g.click({85, 52}));
    ASSERT_TRUE(g.click(tabPoint(4)));
    device->runFor(1);
    ASSERT_TRUE(g.click(kFirstRow));
    device->runFor(1);
    ASSERT_TRUE(g.click(kLeftItem));
    device->runFor(1);
    ASSERT_TRUE(g.drag({250, 120}, {120, 125}));
    device->runFor(1);
    ASSERT_TRUE(g.click({160, 400}));
    device->runFor(1);
    ASSERT_TRUE(g.click(kRightItem));
    device->runFor(1);
    ASSERT_TRUE(g.click(kFirstRowMinus));
    device->runFor(0.5);
    ASSERT_TRUE(g.click(kFirstRowDelete));
    device->runFor(1);
    ASSERT_TRUE(g.drag(kSecondRowGrabber, {300, 110}));
    device->runFor(1);
    ASSERT_TRUE(g.click(kLeftItem));
    device->runFor(1);
    ASSERT_TRUE(g.type("Wo"));
    ASSERT_TRUE(g.type("rk"));
    ASSERT_TRUE(g.backspace());
    ASSERT_TRUE(g.pressReturn());
    device->runFor(1);
    // The dialog again, closed by a click on its first button.
    ASSERT_TRUE(g.click(kLeftItem));
    device->runFor(1);
    auto alerts = sim::Inspector(*device).alerts();
    ASSERT_FALSE(alerts.empty());
    CGRect first = render::AlertLayout::of(*alerts.back(), {320, 568}).buttons.at(0);
    ASSERT_TRUE(g.click({CGRectGetMidX(first), CGRectGetMidY(first)}));
    device->runFor(1);
    EXPECT_EQ(lines, (std::vector<std::string>{"tab 4", "start", "stop", "save", "tab 5", "tap 0 0", "back",
                                               "swipe 0 0", "unswipe", "edit", "delete 0 0", "move 0 1 0 0",
                                               "add", "type Wo", "type Work", "type Wor", "button Add", "add",
                                               "button Dismiss"}));
}

TEST_F(ScreenGesturesTest, TheScrollCommandReachesTheLastOfThirtyRowsAndStopsAtTheEnds) {
    std::string script = "tab stopwatch\n";
    for (int i = 0; i < 30; ++i) {
        script += "start\nwait 1\nstop\nsave\nreset\n";
    }
    ASSERT_EQ(run(script + "tab saved\nwait 1\n"), sim::kExitOk) << err.str();
    auto g = gestures();
    auto table = g.scrollableTableAt(kFirstRow);
    ASSERT_TRUE(table);
    auto lastRowShown = [this] {
        json state = dump();
        for (const json& row : state["saved"]["saved_table"]["sections"][0]["rows"]) {
            if (row["row"] == 29) {
                return !row["covered"].get<bool>();
            }
        }
        return false;
    };
    EXPECT_FALSE(lastRowShown());
    ASSERT_EQ(run("scroll 10000\n"), sim::kExitOk) << err.str();
    EXPECT_TRUE(lastRowShown());
    CGFloat bottom = table->contentOffset().y;
    EXPECT_EQ(bottom, table->contentSize().height - table->bounds().size.height) << "it stops at the end";
    ASSERT_EQ(run("scroll -100.5\n"), sim::kExitOk) << err.str();
    EXPECT_EQ(table->contentOffset().y, bottom - 100.5f);
    ASSERT_EQ(run("scroll -10000\n"), sim::kExitOk) << err.str();
    EXPECT_EQ(table->contentOffset().y, 0);
    err.str("");
    EXPECT_EQ(run("scroll far\n"), sim::kExitRejectedLines);
    EXPECT_NE(err.str().find("not a number of points"), std::string::npos) << err.str();
    // What the window's drag does, and the line it records.
    std::vector<std::string> lines;
    g.setRecorder([&lines](const std::string& line) { lines.push_back(line); });
    g.scroll(*table, 350);
    g.scrolled(*table, 350);
    EXPECT_EQ(table->contentOffset().y, 350);
    EXPECT_EQ(lines, (std::vector<std::string>{"scroll 350"}));
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
