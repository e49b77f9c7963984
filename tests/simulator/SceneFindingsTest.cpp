// What a person sees is what every view of the device says: the lap panel takes the touches on
// the rows it covers and hides them from `screen`; a row under a section header is neither
// printed nor touched there; the launch image is one state for `screen`, `dump` and `shot`; an
// alert that is going says so, in a box as wide as any other; nothing is drawn stronger than
// full alpha; a touch on the border of two rows reaches the lower one; a table is opaque from
// alpha 0.99 up, its floating headers with it; two texts on one line of the screen's text are
// never run together, and share a line only when less than a line apart; a text clipped away or
// covered at its middle is not there; the dump's pending messages are the Saved screen's own and
// its texts are printed as typed.

#include "tests/simulator/AddonSimulatorFixture.h"

#include "simulator/scene/SavedScreen.h"
#include "simulator/scene/Scene.h"
#include "simulator/scene/ScreenPicture.h"

#include <gtest/gtest.h>

#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

class SceneFindings : public testing_support::AddonSimulatorTest {
  protected:
    void SetUp() override {
        AddonSimulatorTest::SetUp();
        ASSERT_EQ(run("launch\ntab stopwatch\n"), sim::kExitOk) << err.str();
    }
    // `count` results of 1, 2, ... seconds with one lap each, then the Saved tab settled.
    void saveResults(int count) {
        std::string script;
        for (int i = 1; i <= count; ++i) {
            script += "start\nwait " + std::to_string(i) + "\nstop\nsave\nreset\n";
        }
        ASSERT_EQ(run(script + "tab saved\nwait 1\n"), sim::kExitOk) << err.str();
    }
    std::string screen() {
        out.str("");
        EXPECT_EQ(run("screen\n"), sim::kExitOk);
        return out.str();
    }
    std::string refusal(const std::string& line) {
        err.str("");
        EXPECT_EQ(run(line + "\n"), sim::kExitRejectedLines) << line;
        return err.str();
    }
};

TEST_F(SceneFindings, TheLapPanelTakesTheTouchesOnTheRowsItCoversAndHidesThem) {
    saveResults(10);
    ASSERT_EQ(run("tap 0 0\nwait 1\n"), sim::kExitOk) << err.str();
    std::string before = dump()["saved"].dump();
    EXPECT_NE(refusal("swipe 0 1").find("covered by the laps table"), std::string::npos) << err.str();
    EXPECT_NE(refusal("delete 0 0").find("covered by the laps table"), std::string::npos) << err.str();
    EXPECT_NE(refusal("tap 0 9").find("covered by the laps table"), std::string::npos) << err.str();
    EXPECT_EQ(dump()["saved"].dump(), before) << "nothing under the panel changed";
    std::string shown = screen();
    EXPECT_NE(shown.find("-- Laps --"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("Laps: 1 >"), std::string::npos) << "a saved row printed under the panel\n" << shown;
    ASSERT_EQ(run("back\nwait 1\nswipe 0 1\n"), sim::kExitOk) << "the rows take touches again once it is out";
}

TEST_F(SceneFindings, ARowUnderItsSectionHeaderIsNotPrintedOnTheBarsLine) {
    saveResults(12);
    auto table = sim::findSavedParts(*device)->savedTable;
    // Half a row under the floating header.
    table->simulateScroll(CGPointMake(0, 40));
    device->settle();
    std::string shown = screen();
    std::string barLine = shown.substr(shown.find('\n') + 1);
    barLine = barLine.substr(0, barLine.find('\n'));
    EXPECT_EQ(barLine.find("Time:"), std::string::npos) << shown;
    // A row partly hidden is scrolled into view before it is touched.
    ASSERT_EQ(run("swipe 0 0\n"), sim::kExitOk) << err.str();
}

TEST_F(SceneFindings, TheLaunchImageIsOneStateForScreenDumpAndPicture) {
    ASSERT_EQ(run("quit\nlaunch\n"), sim::kExitOk);
    EXPECT_NE(screen().find("== launch image "), std::string::npos);
    EXPECT_FALSE(dump()["launch_image_shown"].is_null());
    EXPECT_TRUE(sim::screenScene(*device).launch.has_value());
    ASSERT_EQ(run("wait 0.1\n"), sim::kExitOk);
    EXPECT_NE(screen().find("== Clock > "), std::string::npos);
    EXPECT_TRUE(dump()["launch_image_shown"].is_null());
    EXPECT_FALSE(sim::screenScene(*device).launch.has_value());
}

// A touch area holds its top and left edges and leaves its bottom and right ones to its
// neighbours: a touch on the border between two rows reaches the lower one alone.
TEST_F(SceneFindings, ARowTakesTouchesOnItsTopAndLeftEdgesAndNotOnItsBottomOrRightEdge) {
    saveResults(3);
    sim::Scene scene = sim::captureScene(*device);
    int rows = 0;
    for (const auto& element : scene.elements) {
        if (element.kind != sim::SceneElement::Kind::View ||
            !std::dynamic_pointer_cast<UITableViewCell>(element.view) || !element.seen() ||
            element.touchArea.size.height <= 0) {
            continue;
        }
        ++rows;
        CGRect area = element.touchArea;
        auto reaches = [&](CGPoint point) {
            auto chain = scene.hitChain(point);
            return std::find(chain.begin(), chain.end(), &element) != chain.end();
        };
        EXPECT_TRUE(reaches({CGRectGetMinX(area), CGRectGetMinY(area)})) << "top left corner";
        EXPECT_TRUE(reaches({CGRectGetMidX(area), CGRectGetMaxY(area) - 0.25F})) << "just above the bottom";
        EXPECT_FALSE(reaches({CGRectGetMidX(area), CGRectGetMaxY(area)})) << "the bottom edge";
        EXPECT_FALSE(reaches({CGRectGetMaxX(area), CGRectGetMidY(area)})) << "the right edge";
    }
    EXPECT_GE(rows, 3);
}

TEST_F(SceneFindings, NothingIsDrawnStrongerThanFullAlpha) {
    saveResults(2);
    sim::Scene scene = sim::captureScene(*device);
    ASSERT_FALSE(scene.elements.empty());
    EXPECT_EQ(scene.elements.front().alpha, 1.0F) << "the window";
    for (const auto& element : scene.elements) {
        EXPECT_GT(element.alpha, 0.0F);
        EXPECT_LE(element.alpha, 1.0F);
    }
}

// The head and the foot of an alert's box on the screen's text, each "  +" and dashes to one width.
std::vector<std::size_t> alertBoxEdgeWidths(const std::string& screen) {
    std::vector<std::size_t> widths;
    std::istringstream lines(screen);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  +", 0) == 0) {
            widths.push_back(line.size());
        }
    }
    return widths;
}

TEST_F(SceneFindings, AnAlertThatIsGoingSaysSo) {
    const std::vector<std::size_t> boxEdges{48, 48};
    ASSERT_EQ(run("tab saved\nwait 1\nedit\nadd\n"), sim::kExitOk) << err.str();
    EXPECT_EQ(dump()["alerts"][0]["state"], "appearing");
    EXPECT_EQ(alertBoxEdgeWidths(screen()), boxEdges) << screen();
    ASSERT_EQ(run("wait 1\ntype Work\n"), sim::kExitOk);
    EXPECT_EQ(dump()["alerts"][0]["state"], "shown");
    EXPECT_EQ(alertBoxEdgeWidths(screen()), boxEdges) << screen();
    ASSERT_EQ(run("button Add\n"), sim::kExitOk) << err.str();
    EXPECT_EQ(dump()["alerts"][0]["state"], "closing");
    EXPECT_NE(screen().find("Alert (closing)"), std::string::npos);
    EXPECT_EQ(alertBoxEdgeWidths(screen()), boxEdges) << screen();
    ASSERT_EQ(run("wait 1\n"), sim::kExitOk);
    EXPECT_TRUE(dump()["alerts"].empty());
}

TEST_F(SceneFindings, ATableIsOpaqueFromAlphaPointNineNineUpAndItsHeadersWithIt) {
    saveResults(3);
    auto table = sim::findSavedParts(*device)->savedTable;
    struct Case {
        float alpha;
        bool opaque;
    };
    for (Case c : {Case{0.98F, false}, Case{0.99F, true}, Case{1.0F, true}}) {
        SCOPED_TRACE(c.alpha);
        table->setAlpha(c.alpha);
        sim::Scene scene = sim::captureScene(*device);
        const sim::SceneElement* drawn = scene.find(table.get());
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(drawn->opaque, c.opaque);
        int headers = 0;
        for (const auto& element : scene.elements) {
            if (element.kind == sim::SceneElement::Kind::SectionHeader && element.view == table) {
                ++headers;
                EXPECT_EQ(element.opaque, c.opaque) << *element.title;
            }
        }
        EXPECT_GE(headers, 1);
    }
}

TEST_F(SceneFindings, TwoTextsOnOneLineAreNeverRunTogether) {
    // "abc" takes columns 0 to 2; "def" starts inside it, right after it or two columns on.
    struct Case {
        int column;
        const char* line;
    };
    for (Case c : {Case{2, "abc def"}, Case{3, "abc def"}, Case{5, "abc  def"}}) {
        SCOPED_TRACE(c.column);
        std::vector<std::shared_ptr<UILabel>> labels;
        for (const auto& [x, text] :
             {std::pair<CGFloat, const char*>{0, "abc"}, {c.column * 6.4 + 1, "def"}}) {
            auto label = UIView::withFrame<UILabel>(CGRectMake(x, 300, 60, 20));
            label->setText(text);
            label->setBackgroundColor(UIColor::clearColor());
            device->window()->addSubview(label);
            labels.push_back(label);
        }
        std::string shown = screen();
        EXPECT_NE(shown.find("\n  " + std::string(c.line) + "\n"), std::string::npos) << shown;
        for (const auto& label : labels) {
            label->removeFromSuperview();
        }
    }
}

TEST_F(SceneFindings, ATextClippedAwayIsNeitherSeenNorPrinted) {
    auto box = UIView::withFrame<UIView>(CGRectMake(40, 300, 100, 40));
    box->setClipsToBounds(true);
    auto inside = UIView::withFrame<UILabel>(CGRectMake(0, 10, 100, 20));
    inside->setText("kept in");
    auto outside = UIView::withFrame<UILabel>(CGRectMake(0, 60, 100, 20));
    outside->setText("clipped away");
    box->addSubview(inside);
    box->addSubview(outside);
    device->window()->addSubview(box);
    sim::Scene scene = sim::captureScene(*device);
    ASSERT_NE(scene.find(outside.get()), nullptr);
    EXPECT_FALSE(scene.find(outside.get())->seen());
    EXPECT_TRUE(scene.find(inside.get())->seen());
    std::string shown = screen();
    EXPECT_NE(shown.find("kept in"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("clipped away"), std::string::npos) << shown;
    box->removeFromSuperview();
}

// An opaque box over the left of a text hides it only when it reaches the text's middle; texts
// whose tops are a line apart (8 points) are on two lines, closer ones on one.
TEST_F(SceneFindings, ATextIsHiddenByWhatCoversItsMiddleAndLinesAreEightPointsApart) {
    auto add = [this](CGRect frame, const char* text) {
        auto label = UIView::withFrame<UILabel>(frame);
        label->setText(text);
        label->setBackgroundColor(UIColor::clearColor());
        device->window()->addSubview(label);
        return label;
    };
    auto covered = add(CGRectMake(60, 300, 90, 20), "under");
    auto box = UIView::withFrame<UIView>(CGRectMake(60, 300, 40, 20));
    box->setBackgroundColor(UIColor::whiteColor());
    device->window()->addSubview(box);
    EXPECT_TRUE(sim::captureScene(*device).find(covered.get())->seen()) << "the box covers less than half";
    box->setFrame(CGRectMake(60, 300, 46, 20));
    EXPECT_FALSE(sim::captureScene(*device).find(covered.get())->seen()) << "the box covers the middle";
    covered->removeFromSuperview();
    box->removeFromSuperview();

    struct Case {
        CGFloat apart;
        const char* lines;
    };
    for (Case c : {Case{7.5F, "\n  abc  def\n"}, Case{8, "\n       def\n  abc\n"}}) {
        SCOPED_TRACE(c.apart);
        auto lower = add(CGRectMake(0, 340 + c.apart, 30, 20), "abc");
        auto upper = add(CGRectMake(30, 340, 30, 20), "def");
        std::string shown = screen();
        EXPECT_NE(shown.find(c.lines), std::string::npos) << shown;
        lower->removeFromSuperview();
        upper->removeFromSuperview();
    }
}

// A column is a character, not a byte: a three-letter text with an accented letter takes three
// columns, and a text at column 5 after it is two blanks on.
TEST_F(SceneFindings, ATextAfterAnAccentedOneStartsAtItsOwnColumn) {
    const std::string accented = std::string("S\xC3\xA9") + "a";
    std::vector<std::shared_ptr<UILabel>> labels;
    for (const auto& [x, text] : {std::pair<CGFloat, std::string>{0, accented}, {5 * 6.4 + 1, "def"}}) {
        auto label = UIView::withFrame<UILabel>(CGRectMake(x, 300, 40, 20));
        label->setText(text);
        label->setBackgroundColor(UIColor::clearColor());
        device->window()->addSubview(label);
        labels.push_back(label);
    }
    std::string shown = screen();
    EXPECT_NE(shown.find("\n  " + accented + "  def\n"), std::string::npos) << shown;
}

// A view is drawn from alpha 0.004 up; fainter, it is not there at all.
TEST_F(SceneFindings, AViewIsDrawnFromAlphaPointZeroZeroFourUp) {
    auto label = UIView::withFrame<UILabel>(CGRectMake(0, 300, 100, 20));
    label->setText("faint");
    device->window()->addSubview(label);
    for (float alpha : {0.0039F, 0.004F}) {
        label->setAlpha(alpha);
        EXPECT_EQ(sim::captureScene(*device).find(label.get()) != nullptr, alpha >= 0.004F) << alpha;
    }
}

TEST_F(SceneFindings, TheDumpsPendingMessagesAreTheSavedScreensOwnAndItsTextsAreAsTyped) {
    ASSERT_EQ(run("tab saved\nwait 1\n"), sim::kExitOk) << err.str();
    auto parts = sim::findSavedParts(*device);
    ASSERT_TRUE(parts.has_value());
    // A message to another object and a platform step of the controller's are not its messages.
    NSRunLoop& runLoop = device->runLoop();
    runLoop.scheduleMessage(parts->savedTable, sel_registerName("reloadData"), nullptr, 5);
    runLoop.scheduleStep(5, "a step", parts->controller, [] {});
    EXPECT_EQ(dump()["saved"]["pending"], nlohmann::json::array());
    runLoop.scheduleMessage(parts->controller, sel_registerName("viewWillAppear:"), nullptr, 7);
    auto pending = dump()["saved"]["pending"];
    ASSERT_EQ(pending.size(), 1U) << pending;
    EXPECT_EQ(pending[0]["selector"], "viewWillAppear:");

    ASSERT_EQ(run("edit\nadd\ntype S\xC3\xA9"
                  "ance \xE2\x8F\xB1\n"),
              sim::kExitOk)
        << err.str();
    out.str("");
    ASSERT_EQ(run("dump\n"), sim::kExitOk);
    EXPECT_NE(out.str().find("\"text\":\"S\xC3\xA9"
                             "ance \xE2\x8F\xB1\""),
              std::string::npos)
        << out.str();
}

} // namespace
