#include "platform/uikit/UITableViewCell.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UILabel.h"
#include "tests/support/DeviceFixture.h"

namespace {

using testing_support::DeviceTest;

// A label subclass that replaces setHighlighted: the way an app's label does, to see that the
// cell reaches it by selector.
class SwappingLabel : public UILabel {
  public:
    static constexpr const char* kClassName = "SwappingLabel";
    using Super = UILabel;
    static void describe(rt::ClassBuilder& b) {
        b.method<&SwappingLabel::setHighlighted>(msg::setHighlighted);
    }
    std::vector<bool> calls;
    void setHighlighted(bool highlighted) {
        UILabel::setHighlighted(highlighted);
        calls.push_back(highlighted);
        setShadowOffset(highlighted ? CGSizeMake(0, -0.9f) : CGSizeMake(0, 1));
    }
};

class UITableViewCellTest : public DeviceTest {
  protected:
    std::shared_ptr<UITableViewCell> cell =
        UITableViewCell::withStyle(UITableViewCellStyleDefault, std::string("Cell"));
    std::shared_ptr<SwappingLabel> direct = UIView::withFrame<SwappingLabel>(CGRectMake(10, 17, 320, 30));
    std::shared_ptr<UILabel> nested = UIView::withFrame<UILabel>(CGRectMake(10, 50, 160, 20));

    void SetUp() override {
        direct->setHighlightedTextColor(UIColor::whiteColor());
        nested->setHighlightedTextColor(UIColor::whiteColor());
        cell->addSubview(direct);
        cell->contentView()->addSubview(nested);
    }
};

TEST_F(UITableViewCellTest, ANewCellIsAPhoneWideRowUntilLaidOut) {
    EXPECT_EQ(cell->frame(), CGRectMake(0, 0, 320, 44));
    EXPECT_EQ(cell->reuseIdentifier(), "Cell");
    EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleBlue);
    EXPECT_EQ(cell->backgroundView(), nullptr);
}

// The image view and the labels are made on first use, once, inside the content view.
TEST_F(UITableViewCellTest, ItsSubviewsAreMadeOnceInsideTheContentView) {
    auto image = cell->imageView();
    ASSERT_TRUE(image);
    EXPECT_EQ(cell->imageView(), image);
    EXPECT_EQ(image->superview(), cell->contentView());
    auto text = cell->textLabel();
    ASSERT_TRUE(text);
    EXPECT_EQ(cell->textLabel(), text);
    EXPECT_EQ(text->superview(), cell->contentView());
}

// Where a cell's labels draw: inset ten points on both sides of the phone-wide row, the title
// bold 20 over the height less the separator, the subtitle gray 14 below it; a default cell has
// no subtitle.
TEST_F(UITableViewCellTest, ItsLabelsSitAtThePlatformsInsets) {
    EXPECT_EQ(cell->detailTextLabel(), nullptr);
    auto subtitled = UITableViewCell::withStyle(UITableViewCellStyleSubtitle, std::string("Sub"));
    auto text = subtitled->textLabel();
    EXPECT_EQ(text->frame(), CGRectMake(10, 0, 300, 43));
    EXPECT_EQ(text->convertRectToView(text->bounds(), subtitled.get()), CGRectMake(10, 0, 300, 43))
        << "the inset is from the row's own edge";
    EXPECT_EQ(text->font()->pointSize(), 20);
    EXPECT_TRUE(text->font()->isBold());
    auto detail = subtitled->detailTextLabel();
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->frame(), CGRectMake(10, 22, 300, 20));
    EXPECT_EQ(detail->font()->pointSize(), 14);
    EXPECT_FALSE(detail->font()->isBold());
    EXPECT_TRUE(sameColor(detail->textColor(), UIColor::grayColor()));
    EXPECT_EQ(detail->superview(), subtitled->contentView());
}

// The selected background lies behind the content (above the plain background when there is
// one), fills the cell, and shows only while the cell looks selected.
TEST_F(UITableViewCellTest, TheSelectedBackgroundShowsOnlyWhileSelected) {
    auto selectedLook = UIView::withFrame(CGRectZero);
    cell->setSelectedBackgroundView(selectedLook);
    EXPECT_EQ(cell->subviews().front(), selectedLook);
    EXPECT_EQ(selectedLook->frame(), CGRectMake(0, 0, 320, 44));
    EXPECT_TRUE(selectedLook->isHidden());
    cell->setSelectedAnimated(true, false);
    EXPECT_FALSE(selectedLook->isHidden());
    cell->setSelectedAnimated(false, false);
    EXPECT_TRUE(selectedLook->isHidden());

    auto background = UIView::withFrame(CGRectZero);
    background->setBackgroundColor(UIColor::grayColor());
    cell->setBackgroundView(background);
    auto replacement = UIView::withFrame(CGRectZero);
    replacement->setBackgroundColor(UIColor::blueColor());
    cell->setSelectedBackgroundView(replacement);
    EXPECT_EQ(selectedLook->superview(), nullptr) << "the one replaced is taken out";
    // Selection clears the content's backgrounds, never the cell's own two.
    cell->setSelectedAnimated(true, false);
    EXPECT_TRUE(sameColor(background->backgroundColor(), UIColor::grayColor()));
    EXPECT_TRUE(sameColor(replacement->backgroundColor(), UIColor::blueColor()));
    cell->setSelectedAnimated(false, false);
    ASSERT_GE(cell->subviews().size(), 2u);
    EXPECT_EQ(cell->subviews()[0], background);
    EXPECT_EQ(cell->subviews()[1], replacement);
}

TEST_F(UITableViewCellTest, SelectingHighlightsEveryLabelBelowTheCellThroughTheRuntime) {
    cell->setSelectedAnimated(true, false);
    EXPECT_TRUE(nested->isHighlighted()) << "labels inside the content view";
    EXPECT_TRUE(direct->isHighlighted()) << "labels added to the cell itself";
    EXPECT_EQ(direct->shadowOffset(), CGSizeMake(0, -0.9f)) << "the subclass's own setHighlighted: ran";
    EXPECT_TRUE(sameColor(nested->effectiveTextColor(), UIColor::whiteColor()));
    cell->setSelectedAnimated(false, false);
    EXPECT_FALSE(nested->isHighlighted());
    EXPECT_FALSE(direct->isHighlighted());
    EXPECT_EQ(direct->shadowOffset(), CGSizeMake(0, 1));
}

TEST_F(UITableViewCellTest, HighlightThenSelectKeepsTheLookUntilDeselected) {
    cell->setHighlighted(true);
    cell->setSelected(true);
    cell->setHighlighted(false);
    EXPECT_TRUE(direct->isHighlighted()) << "still selected";
    cell->setSelected(false);
    EXPECT_FALSE(direct->isHighlighted());
    // Every change reaches the label, even when its state stays.
    EXPECT_EQ(direct->calls, (std::vector<bool>{true, true, true, false}));
}

TEST_F(UITableViewCellTest, SelectionStyleNoneLeavesTheSubviewsAlone) {
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    cell->setSelectedAnimated(true, false);
    EXPECT_TRUE(cell->isSelected());
    EXPECT_FALSE(direct->isHighlighted());
    EXPECT_TRUE(direct->calls.empty());
}

TEST_F(UITableViewCellTest, BackgroundsClearWhileSelectedAndComeBackAfter) {
    nested->setBackgroundColor(UIColor::whiteColor());
    cell->setSelectedAnimated(true, false);
    EXPECT_FLOAT_EQ(nested->backgroundColor()->alpha(), 0);
    cell->setSelectedAnimated(false, false);
    EXPECT_TRUE(sameColor(nested->backgroundColor(), UIColor::whiteColor()));
}

TEST_F(UITableViewCellTest, PrepareForReuseClearsSelectionButKeepsContent) {
    cell->textLabel()->setText("old");
    direct->setAlpha(0);
    cell->setSelectedAnimated(true, false);
    cell->setShowingDeleteConfirmation(true);
    cell->prepareForReuse();
    EXPECT_FALSE(cell->isSelected());
    EXPECT_FALSE(cell->showingDeleteConfirmation()) << "a reused cell shows no Delete button";
    EXPECT_FALSE(direct->isHighlighted());
    EXPECT_EQ(cell->textLabel()->text(), "old");
    EXPECT_EQ(direct->alpha(), 0.0f);
}

TEST_F(UITableViewCellTest, BackgroundViewsFollowTheCellsSizeAtLayoutButLabelsDoNot) {
    auto background = UIView::withFrame(CGRectZero);
    cell->setBackgroundView(background);
    EXPECT_EQ(cell->subviews().front(), background) << "behind everything else";
    cell->setFrame(CGRectMake(0, 140, 320, 70));
    cell->layoutIfNeeded();
    EXPECT_EQ(background->frame(), CGRectMake(0, 0, 320, 70));
    EXPECT_EQ(cell->contentView()->frame(), CGRectMake(0, 0, 320, 69));
    EXPECT_EQ(direct->frame(), CGRectMake(10, 17, 320, 30)) << "the cell never moves its own subviews";
}

} // namespace
