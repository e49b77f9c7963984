#include "addon/views/LVTableViewCell.h"
#include "addon/views/LVLabel.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIKitMessages.h"
#include "tests/support/DeviceFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string colorName(const std::shared_ptr<UIColor>& color) {
    return color ? color->description() : "nil";
}

class LVTableViewCellTest : public testing_support::DeviceTest {
  protected:
    std::shared_ptr<LVTableViewCell> cell = LVTableViewCell::make(UITableViewCellStyleDefault, "Cell");
};

TEST_F(LVTableViewCellTest, PlacesItsLabelsFromTheFrameItHasWhenMadeAndKeepsThemThere) {
    EXPECT_EQ(cell->reuseIdentifier(), "Cell");
    EXPECT_EQ(cell->lapsLabel()->frame(), CGRectMake(240, 20, 80, 30));
    EXPECT_EQ(cell->mainLabel()->frame(), CGRectMake(10, 17, 320, 30));
    EXPECT_EQ(cell->dateLabel()->frame(), CGRectMake(10, 50, 160, 20));

    // A table gives the row its own height later; the labels stay where they were put.
    cell->setFrame(CGRectMake(0, 0, 320, 70));
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->mainLabel()->frame(), CGRectMake(10, 17, 320, 30));
    EXPECT_EQ(cell->dateLabel()->frame(), CGRectMake(10, 50, 160, 20));
}

TEST_F(LVTableViewCellTest, TheToolkitFactoryBuildsTheSameCell) {
    auto other = UITableViewCell::withStyle<LVTableViewCell>(UITableViewCellStyleDefault, "Laps");
    ASSERT_TRUE(other->mainLabel());
    EXPECT_EQ(other->lapsLabel()->frame(), CGRectMake(240, 20, 80, 30));
}

TEST_F(LVTableViewCellTest, TheLabelsAreDirectSubviewsAboveTheContentViewMainOnTop) {
    const auto& views = cell->subviews();
    ASSERT_EQ(views.size(), 4U);
    EXPECT_EQ(views[0], cell->contentView());
    EXPECT_EQ(views[1], cell->dateLabel());
    EXPECT_EQ(views[2], cell->lapsLabel());
    EXPECT_EQ(views[3], cell->mainLabel());
    EXPECT_TRUE(cell->contentView()->subviews().empty());
}

// One label's look, normal and highlighted.
struct LabelLook {
    const char* name;
    const char* text;
    const char* font;
    const char* shadow;
    CGSize offset;
    const char* highlightedShadow;
    CGSize highlightedOffset;
};

void PrintTo(const LabelLook& c, std::ostream* out) {
    *out << c.name;
}

class LVTableViewCellLookTest : public LVTableViewCellTest, public testing::WithParamInterface<LabelLook> {
  protected:
    [[nodiscard]] LVLabel& label() const {
        const auto& look = GetParam();
        std::string which = look.name;
        return which == "main"   ? *cell->mainLabel()
               : which == "laps" ? *cell->lapsLabel()
                                 : *cell->dateLabel();
    }
    void expectNormal() const {
        const auto& look = GetParam();
        EXPECT_EQ(colorName(label().effectiveTextColor()), look.text);
        EXPECT_EQ(colorName(label().shadowColor()), look.shadow);
        EXPECT_EQ(label().shadowOffset(), look.offset);
        EXPECT_FALSE(label().isHighlighted());
    }
    void expectHighlighted() const {
        const auto& look = GetParam();
        EXPECT_EQ(colorName(label().effectiveTextColor()), "white");
        EXPECT_EQ(colorName(label().shadowColor()), look.highlightedShadow);
        EXPECT_EQ(label().shadowOffset(), look.highlightedOffset);
        EXPECT_TRUE(label().isHighlighted());
    }
};

TEST_P(LVTableViewCellLookTest, IsStyledOnAClearBackground) {
    EXPECT_EQ(colorName(label().backgroundColor()), "clear");
    EXPECT_EQ(label().font()->description(), GetParam().font);
    EXPECT_EQ(colorName(label().highlightedTextColor()), "white");
    expectNormal();
}

TEST_P(LVTableViewCellLookTest, TouchingOrSelectingAGrayRowSwapsTheShadowUntilItEnds) {
    cell->setSelectionStyle(UITableViewCellSelectionStyleGray);
    rt::send(cell, msg::setHighlighted, true);
    expectHighlighted();
    rt::send(cell, msg::setHighlighted, false);
    expectNormal();
    rt::send(cell, msg::setSelectedAnimated, true, false);
    expectHighlighted();
    rt::send(cell, msg::setSelectedAnimated, false, true);
    expectNormal();
}

TEST_P(LVTableViewCellLookTest, AReusedCellKeepsItsLabelsAndShowsThemUnhighlighted) {
    auto before = cell->mainLabel();
    cell->mainLabel()->setText("Time: 00:00:01.0");
    rt::send(cell, msg::setSelectedAnimated, true, false);
    rt::send(cell, msg::prepareForReuse);
    EXPECT_EQ(cell->mainLabel(), before);
    EXPECT_EQ(cell->mainLabel()->text(), "Time: 00:00:01.0");
    expectNormal();
}

TEST_P(LVTableViewCellLookTest, ARowWithoutSelectionStyleLeavesItsLabelsAlone) {
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    rt::send(cell, msg::setSelectedAnimated, true, false);
    expectNormal();
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LVTableViewCellLookTest,
    testing::Values(LabelLook{"main", "black", "bold 20", "white", {0, 1}, "black", {0, -0.9F}},
                    LabelLook{"laps", "gray", "bold 14", "white", {0, 1}, "gray", {0, -0.9F}},
                    LabelLook{"date", "gray", "system 14", "clear", {0, 0}, "nil", {-0.0F, -0.0F}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
