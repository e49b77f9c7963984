// The Clock application's own screens as a person sees them: each tab's screen paints all of its
// area and keeps what it shows inside it, apart, each text inside the view that holds it; a
// screen not simulated has its text about its middle; centred text is centred on the screen and
// the stopwatch's two buttons mirror each other; the lap list holds the newest laps from its top
// down, as many as fit whole, each with its own time.

#include "tests/simulator/SimulatorFixture.h"

#include "hosts/clock/StopWatchViewController.h"
#include "hosts/clock/StopwatchTimeText.h"
#include "simulator/scene/Inspector.h"
#include "simulator/scene/Scene.h"

#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

struct Shown {
    CGRect frame{};
    CGRect visible{};
    CGRect holder{};
    std::string text;
    bool centred = false;
    bool button = false;
};

std::string describe(const Shown& item) {
    return (item.button ? "button " : "label ") + ("\"" + item.text + "\"");
}

class HostScreenLayout : public testing_support::SimulatorTest {
  protected:
    // The selected tab's view and the labels and buttons a person sees in it (a button's own
    // title is the button's); false when the tab's view is not drawn.
    bool look(CGRect& area, bool& opaque, std::vector<Shown>& shown) {
        auto controller = sim::Inspector(*device).selectedController();
        if (!controller) {
            return false;
        }
        sim::Scene scene = sim::captureScene(*device);
        const sim::SceneElement* root = scene.find(controller->view().get());
        if (root == nullptr) {
            return false;
        }
        area = root->frame;
        opaque = root->opaque;
        for (const auto& element : scene.elements) {
            if (&element == root || !scene.isInside(element, *root) || !element.seen()) {
                continue;
            }
            bool inButton = false;
            for (std::size_t up = element.parent; up != sim::SceneElement::kNoParent;
                 up = scene.elements[up].parent) {
                inButton =
                    inButton || std::dynamic_pointer_cast<UIButton>(scene.elements[up].view) != nullptr;
            }
            if (auto button = std::dynamic_pointer_cast<UIButton>(element.view)) {
                shown.push_back({element.frame, element.visible, scene.elements[element.parent].frame,
                                 button->currentTitle().value_or(""), false, true});
            } else if (auto label = std::dynamic_pointer_cast<UILabel>(element.view); label && !inButton) {
                std::string text = label->text().value_or("");
                if (!text.empty()) {
                    shown.push_back({element.frame, element.visible, scene.elements[element.parent].frame,
                                     text, label->textAlignment() == NSTextAlignmentCenter, false});
                }
            }
        }
        return true;
    }
};

TEST_F(HostScreenLayout, EachTabPaintsItsAreaAndKeepsWhatItShowsInsideItApartAndCentred) {
    ASSERT_EQ(run("launch\ntab stopwatch\nstart\nwait 75.3\nlap\nwait 2\nlap\nwait 1\n"), sim::kExitOk)
        << err.str();
    for (const std::string tab : {"world", "alarm", "timer", "stopwatch"}) {
        SCOPED_TRACE(tab);
        ASSERT_EQ(run("tab " + tab + "\n"), sim::kExitOk) << err.str();
        CGRect area{};
        bool opaque = false;
        std::vector<Shown> shown;
        ASSERT_TRUE(look(area, opaque, shown));
        EXPECT_TRUE(opaque) << "nothing behind the screen shows through it";
        EXPECT_GE(shown.size(), 2U);
        std::vector<const Shown*> buttons;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const Shown& item = shown[i];
            EXPECT_GE(CGRectGetMinX(item.frame), CGRectGetMinX(area)) << describe(item);
            EXPECT_GE(CGRectGetMinY(item.frame), CGRectGetMinY(area)) << describe(item);
            EXPECT_LE(CGRectGetMaxX(item.frame), CGRectGetMaxX(area)) << describe(item);
            EXPECT_LE(CGRectGetMaxY(item.frame), CGRectGetMaxY(area)) << describe(item);
            EXPECT_GE(CGRectGetMinY(item.frame), CGRectGetMinY(item.holder)) << describe(item);
            EXPECT_LE(CGRectGetMaxY(item.frame), CGRectGetMaxY(item.holder)) << describe(item);
            if (item.centred) {
                EXPECT_DOUBLE_EQ(CGRectGetMidX(item.frame), CGRectGetMidX(area)) << describe(item);
            }
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                EXPECT_FALSE(CGRectIntersectsRect(item.frame, shown[j].frame))
                    << describe(item) << " overlaps " << describe(shown[j]);
            }
            if (item.button) {
                buttons.push_back(&item);
            }
        }
        if (tab != "stopwatch") {
            // A screen not simulated: its heading and note about the middle of its area.
            CGFloat top = CGRectGetMaxY(area);
            CGFloat bottom = CGRectGetMinY(area);
            for (const auto& item : shown) {
                top = std::min(top, CGRectGetMinY(item.frame));
                bottom = std::max(bottom, CGRectGetMaxY(item.frame));
            }
            EXPECT_NEAR((top + bottom) / 2, CGRectGetMidY(area), area.size.height / 8);
            continue;
        }
        // The stopwatch's two buttons: one size, one line, each as far from its own side.
        ASSERT_EQ(buttons.size(), 2U);
        std::sort(buttons.begin(), buttons.end(), [](const Shown* a, const Shown* b) {
            return CGRectGetMinX(a->frame) < CGRectGetMinX(b->frame);
        });
        EXPECT_EQ(buttons[0]->text, "Stop");
        EXPECT_EQ(buttons[1]->text, "Lap");
        EXPECT_DOUBLE_EQ(buttons[0]->frame.size.width, buttons[1]->frame.size.width);
        EXPECT_DOUBLE_EQ(buttons[0]->frame.size.height, buttons[1]->frame.size.height);
        EXPECT_DOUBLE_EQ(CGRectGetMinY(buttons[0]->frame), CGRectGetMinY(buttons[1]->frame));
        EXPECT_DOUBLE_EQ(CGRectGetMinX(buttons[0]->frame) - CGRectGetMinX(area),
                         CGRectGetMaxX(area) - CGRectGetMaxX(buttons[1]->frame));
    }
}

class LapListSessions : public testing_support::SimulatorTest, public testing::WithParamInterface<unsigned> {
  protected:
    struct Row {
        CGRect name{};
        CGRect time{};
        std::string nameText;
        std::string timeText;
    };
    // The lap list's frame and its rows top down, read off the scene: the list is the view that
    // holds the "Lap N" labels, inside the stopwatch's screen. False when no row is drawn.
    bool lapList(CGRect& list, std::vector<Row>& rows) {
        sim::Scene scene = sim::captureScene(*device);
        std::size_t holder = sim::SceneElement::kNoParent;
        for (const auto& element : scene.elements) {
            auto label = std::dynamic_pointer_cast<UILabel>(element.view);
            if (label && label->text().value_or("").rfind("Lap ", 0) == 0) {
                holder = element.parent;
                break;
            }
        }
        if (holder == sim::SceneElement::kNoParent) {
            return false;
        }
        list = scene.elements[holder].frame;
        auto controller = sim::Inspector(*device).selectedController();
        const sim::SceneElement* screen = controller ? scene.find(controller->view().get()) : nullptr;
        EXPECT_TRUE(screen != nullptr && CGRectGetMinY(list) >= CGRectGetMinY(screen->frame) &&
                    CGRectGetMaxY(list) <= CGRectGetMaxY(screen->frame))
            << "the lap list reaches out of the stopwatch's screen (under the tab bar)";
        std::vector<std::pair<CGRect, std::string>> labels;
        for (const auto& element : scene.elements) {
            auto label = std::dynamic_pointer_cast<UILabel>(element.view);
            if (label && element.parent == holder) {
                labels.emplace_back(element.frame, label->text().value_or(""));
            }
        }
        std::sort(labels.begin(), labels.end(), [](const auto& a, const auto& b) {
            return CGRectGetMinY(a.first) < CGRectGetMinY(b.first) ||
                   (CGRectGetMinY(a.first) == CGRectGetMinY(b.first) &&
                    CGRectGetMinX(a.first) < CGRectGetMinX(b.first));
        });
        for (std::size_t i = 0; i + 1 < labels.size(); i += 2) {
            rows.push_back({labels[i].first, labels[i + 1].first, labels[i].second, labels[i + 1].second});
        }
        EXPECT_EQ(labels.size() % 2, 0U) << "every row has a name and a time";
        return true;
    }
};

// Random laps, with a reset now and then; after each step the list holds the newest laps, top
// down from its own top, one after another, each row whole inside it, and no further row would
// fit.
TEST_P(LapListSessions, HoldTheNewestLapsAsManyAsFitWhole) {
    std::mt19937 random(GetParam());
    ASSERT_EQ(run("launch\ntab stopwatch\nstart\n"), sim::kExitOk) << err.str();
    std::uniform_real_distribution<double> seconds(0.05, 95);
    std::size_t mostListed = 0;
    for (int step = 0; step < 30; ++step) {
        SCOPED_TRACE("seed " + std::to_string(GetParam()) + ", step " + std::to_string(step));
        std::string line = random() % 16 == 0 ? "stop\nreset\nstart\n"
                                              : "wait " + std::to_string(seconds(random)) + "\nlap\n";
        ASSERT_EQ(run(line), sim::kExitOk) << err.str();
        std::vector<double> laps = sim::Inspector(*device).stopwatch()->laps();
        CGRect list{};
        std::vector<Row> rows;
        if (!lapList(list, rows)) {
            EXPECT_TRUE(laps.empty()) << laps.size() << " laps and none listed";
            continue;
        }
        ASSERT_FALSE(rows.empty());
        ASSERT_LE(rows.size(), laps.size());
        mostListed = std::max(mostListed, rows.size());
        CGFloat rowHeight = rows[0].name.size.height;
        for (std::size_t row = 0; row < rows.size(); ++row) {
            SCOPED_TRACE("row " + std::to_string(row));
            std::size_t lap = laps.size() - 1 - row;
            EXPECT_EQ(rows[row].nameText, "Lap " + std::to_string(lap + 1));
            EXPECT_EQ(rows[row].timeText, clk::stopwatchTimeText(laps[lap]));
            EXPECT_DOUBLE_EQ(CGRectGetMinY(rows[row].name),
                             row == 0 ? CGRectGetMinY(list) : CGRectGetMaxY(rows[row - 1].name));
            for (CGRect part : {rows[row].name, rows[row].time}) {
                EXPECT_DOUBLE_EQ(CGRectGetMinY(part), CGRectGetMinY(rows[row].name));
                EXPECT_DOUBLE_EQ(part.size.height, rowHeight);
                EXPECT_GE(CGRectGetMinX(part), CGRectGetMinX(list));
                EXPECT_LE(CGRectGetMaxX(part), CGRectGetMaxX(list));
                EXPECT_LE(CGRectGetMaxY(part), CGRectGetMaxY(list)) << "a row cut by the list's foot";
            }
            EXPECT_DOUBLE_EQ(CGRectGetMinX(rows[row].name) - CGRectGetMinX(list),
                             CGRectGetMaxX(list) - CGRectGetMaxX(rows[row].time))
                << "the name and the time as far from their own sides";
        }
        if (rows.size() < laps.size()) {
            EXPECT_LT(CGRectGetMaxY(list) - CGRectGetMaxY(rows.back().name), rowHeight)
                << rows.size() << " of " << laps.size() << " laps listed with room for another";
        }
    }
    EXPECT_GT(mostListed, 3U) << "the session never filled the list";
}

INSTANTIATE_TEST_SUITE_P(Seeds, LapListSessions, testing::Values(1U, 2U, 3U),
                         [](const auto& info) { return "Seed" + std::to_string(info.param); });

} // namespace
