// The lap panel: a tap slides the laps in under a bar item titled with the total, the settle step
// brings the panel over the table of results, the back control slides it out, in either order.

#include "addon/browser/BrowserMessages.h"
#include "addon/views/LVLabel.h"
#include "addon/views/LVTableViewCell.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/addon/browser/BrowserFixture.h"

namespace {

using testing_support::BrowserTest;

// Default: 75.43 with three laps, then 42.5 with no laps at all; Work: one result of 31 laps.
std::string panelFile() {
    std::string many;
    for (int i = 0; i < 31; ++i) {
        many += "<real>2</real>";
    }
    return R"(<key>Sections</key><array><string>Default</string><string>Work</string></array>
<key>Times - Default</key><array>
  <dict><key>Total Time</key><real>75.43</real><key>All Laps</key><array><real>30</real><real>30</real>
    <real>15.300000190734863</real></array><key>Date</key><date>2013-03-02T12:00:00Z</date></dict>
  <dict><key>Total Time</key><real>42.5</real><key>All Laps</key><array/></dict>
</array>
<key>Times - Work</key><array><dict><key>Total Time</key><real>62</real><key>All Laps</key><array>)" +
           many + "</array></dict></array>";
}

class LapPanel : public BrowserTest {
  protected:
    void SetUp() override {
        writeSavedTimes(panelFile());
        show();
    }
    [[nodiscard]] CGRect panel() const { return browser->lapsTable()->frame(); }
    [[nodiscard]] CGRect panelOnScreen() const { return browser->lapsTable()->presentationFrame(now()); }
    [[nodiscard]] const ui::Animation* panelAnimation() {
        return environment.animator().governing(*browser->lapsTable(), ui::AnimatedProperty::Frame, now());
    }
    [[nodiscard]] std::vector<std::string> barTitles() const {
        std::vector<std::string> titles;
        for (const auto& item : browser->topBar()->items()) {
            titles.push_back(item->title().value_or("(none)"));
        }
        return titles;
    }
    static constexpr CGRect kHidden{{320, 44}, {320, 456}};
    static constexpr CGRect kShown{{0, 44}, {320, 456}};
};

TEST_F(LapPanel, ATapSlidesTheLapsInUnderTheTotal) {
    tapResult(0, 0);
    EXPECT_EQ(lapTexts(), (std::vector<std::string>{"30.0", "30.0", "15.3"}));
    EXPECT_EQ(barTitles(), (std::vector<std::string>{"Saved Times", "Time: 01:15.4"}));
    EXPECT_TRUE(browser->topBar()->showsBackButton());
    EXPECT_TRUE(browser->topBar()->isTransitioning()) << "the total's title slides in with the panel";
    EXPECT_EQ(panel(), CGRectMake(-20, 44, 340, 456)) << "the model value moves at once";
    EXPECT_EQ(panelOnScreen(), kHidden) << "what is drawn starts from where it was";
    const ui::Animation* slide = panelAnimation();
    ASSERT_TRUE(slide);
    EXPECT_EQ(slide->curve, UIViewAnimationCurveEaseOut);
    EXPECT_DOUBLE_EQ(slide->duration, 0.3);
    EXPECT_FALSE(browser->savedTable()->allowsSelection());
    EXPECT_TRUE(browser->savedTable()->indexPathForSelectedRow()) << "deselected only by the settle step";
    // The rows of the panel show the lap texts.
    auto cell = cellAt(browser->lapsTable(), 0, 2);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->mainLabel()->text(), "15.3");
}

TEST_F(LapPanel, TheSettleStepBringsThePanelOverTheResultsAndDeselectsTheRow) {
    tapResult(0, 0);
    runFor(0.29);
    EXPECT_EQ(panel(), CGRectMake(-20, 44, 340, 456));
    EXPECT_TRUE(browser->savedTable()->indexPathForSelectedRow());
    runFor(0.01);
    EXPECT_EQ(panel(), kShown);
    EXPECT_FALSE(browser->savedTable()->indexPathForSelectedRow());
    const ui::Animation* settle = panelAnimation();
    ASSERT_TRUE(settle);
    EXPECT_EQ(settle->curve, UIViewAnimationCurveEaseIn);
    EXPECT_DOUBLE_EQ(settle->duration, 0.2);
    runFor(0.2);
    EXPECT_EQ(panelOnScreen(), kShown);
    EXPECT_FALSE(browser->savedTable()->allowsSelection()) << "still off while the panel is in";
}

// The back control taken after the settle step, or before it (as soon as the bar's push has
// ended): either way the panel ends where it started and the row is deselected.
class PanelOrder : public LapPanel, public testing::WithParamInterface<double> {};

TEST_P(PanelOrder, EndsWhereItStartedWhicheverComesFirst) {
    tapResult(0, 0);
    runFor(GetParam());
    ASSERT_TRUE(tapBack());
    EXPECT_EQ(panelAnimation()->curve, UIViewAnimationCurveEaseInOut);
    EXPECT_EQ(barTitles(), std::vector<std::string>{"Saved Times"});
    EXPECT_FALSE(browser->savedTable()->allowsSelection()) << "on again only after the pop";
    runFor(1);
    EXPECT_EQ(panel(), kHidden);
    EXPECT_EQ(panelOnScreen(), kHidden);
    EXPECT_FALSE(browser->savedTable()->indexPathForSelectedRow());
    EXPECT_TRUE(browser->savedTable()->allowsSelection());
}

INSTANTIATE_TEST_SUITE_P(BackAfter, PanelOrder, testing::Values(0.5, 0.2), [](const auto& info) {
    return info.param > 0.3 ? "TheSettle" : "ThePushBeforeTheSettle";
});

TEST_F(LapPanel, TapsSelectNothingWhileThePanelIsIn) {
    tapResult(0, 0);
    runFor(0.5);
    tapResult(0, 1);
    EXPECT_FALSE(browser->savedTable()->indexPathForSelectedRow());
    EXPECT_EQ(barTitles().size(), 2U);
    ASSERT_TRUE(tapBack());
    runFor(0.5);
    tapResult(0, 1);
    EXPECT_EQ(barTitles(), (std::vector<std::string>{"Saved Times", "Time: 42.5"}));
}

TEST_F(LapPanel, AResultWithoutLapsSlidesInAnEmptyPanelStillTitled) {
    tapResult(0, 1);
    EXPECT_TRUE(lapTexts().empty());
    EXPECT_EQ(browser->lapsTable()->numberOfRowsInSection(0), 0);
    EXPECT_EQ(barTitles().back(), "Time: 42.5");
}

TEST_F(LapPanel, TheNextResultsLapsStartAtTheTop) {
    tapResult(1, 0);
    runFor(0.5);
    ASSERT_EQ(lapTexts().size(), 31U);
    browser->lapsTable()->simulateScroll(CGPointMake(0, 600));
    runFor(0);
    ASSERT_EQ(browser->lapsTable()->contentOffset().y, 600);
    ASSERT_TRUE(tapBack());
    runFor(0.5);
    EXPECT_EQ(browser->lapsTable()->contentOffset(), CGPointMake(0, 0));
    tapResult(0, 0);
    runFor(0.5);
    EXPECT_EQ(browser->lapsTable()->contentOffset(), CGPointMake(0, 0));
    EXPECT_TRUE(cellAt(browser->lapsTable(), 0, 0));
}

TEST_F(LapPanel, ThePanelOutlivesATabSwitch) {
    tapResult(0, 0);
    runFor(0.5);
    hide();
    show();
    EXPECT_EQ(panel(), kShown);
    EXPECT_EQ(barTitles().size(), 2U);
    EXPECT_EQ(lapTexts().size(), 3U);
}

} // namespace
