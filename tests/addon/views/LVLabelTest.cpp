#include "addon/views/LVLabel.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIKitMessages.h"
#include "tests/support/DeviceFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

std::string colorName(const std::shared_ptr<UIColor>& color) {
    return color ? color->description() : "nil";
}

void expectDrawnShadow(const LVLabel& label, const std::string& color, CGSize offset) {
    EXPECT_EQ(colorName(label.shadowColor()), color);
    EXPECT_EQ(label.shadowOffset(), offset);
}

class LVLabelTest : public testing_support::DeviceTest {
  protected:
    static std::shared_ptr<LVLabel> whiteBelow() {
        return LVLabel::withFrameShadow(CGRectMake(0, 0, 100, 20), UIColor::whiteColor(), CGSizeMake(0, 1));
    }
    // Sent by selector, as a table cell does.
    static void highlight(const std::shared_ptr<LVLabel>& label, bool on) {
        rt::send(label, msg::setHighlighted, on);
    }
};

TEST_F(LVLabelTest, HighlightingDrawsNoShadowUntilAHighlightedColourIsGivenAndUnhighlightingRestores) {
    auto label = whiteBelow();
    EXPECT_EQ(colorName(label->savedShadowColor()), "white");
    highlight(label, true);
    EXPECT_TRUE(label->isHighlighted());
    EXPECT_FALSE(label->drawsShadow());
    EXPECT_EQ(label->shadowOffset(), CGSizeMake(0, -1));
    EXPECT_TRUE(std::signbit(label->shadowOffset().width));
    highlight(label, false);
    expectDrawnShadow(*label, "white", CGSizeMake(0, 1));

    label->setHighlightedShadowColor(UIColor::grayColor());
    label->setHighlightedShadowOffset(CGSizeMake(0, -0.9F));
    // The setters leave the drawn shadow alone; the change shows at the next highlight.
    expectDrawnShadow(*label, "white", CGSizeMake(0, 1));
    highlight(label, true);
    expectDrawnShadow(*label, "gray", CGSizeMake(0, -0.9F));
    highlight(label, true);
    expectDrawnShadow(*label, "gray", CGSizeMake(0, -0.9F));
}

// Ways the drawn shadow can drift from the saved pair before an unhighlight puts it back.
struct RestoreCase {
    const char* name;
    std::function<void(const std::shared_ptr<LVLabel>&)> before;
};

void PrintTo(const RestoreCase& c, std::ostream* out) {
    *out << c.name;
}

class LVLabelRestoreTest : public LVLabelTest, public testing::WithParamInterface<RestoreCase> {};

TEST_P(LVLabelRestoreTest, UnhighlightingDrawsTheShadowCapturedAtSetUp) {
    auto label = whiteBelow();
    label->setShadowColor(UIColor::redColor());
    label->setShadowOffset(CGSizeMake(3, 3));
    GetParam().before(label);
    highlight(label, false);
    expectDrawnShadow(*label, "white", CGSizeMake(0, 1));
    EXPECT_FALSE(label->isHighlighted());
}

INSTANTIATE_TEST_SUITE_P(
    Drift, LVLabelRestoreTest,
    testing::Values(RestoreCase{"NeverHighlighted", [](const auto&) {}},
                    RestoreCase{"AfterAHighlight",
                                [](const auto& l) { rt::send(l, msg::setHighlighted, true); }},
                    RestoreCase{"AfterADirectHighlight", [](const auto& l) { l->setHighlighted(true); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LVLabelTest, AZeroOffsetMirrorsToNegativeZeroWhichDrawsTheSame) {
    auto label = LVLabel::withFrameShadow(CGRectMake(0, 0, 10, 10), UIColor::clearColor(), CGSizeZero);
    highlight(label, true);
    EXPECT_EQ(label->shadowOffset(), CGSizeZero);
    EXPECT_TRUE(std::signbit(label->shadowOffset().width));
    EXPECT_TRUE(std::signbit(label->shadowOffset().height));
}

TEST_F(LVLabelTest, ADecodedLabelIsConfiguredFromTheLabelDefaults) {
    auto label = rt::make<LVLabel>();
    rt::send(label, rt::Msg<void(const id&)>{"initWithCoder:"}, id{});
    EXPECT_FALSE(label->savedShadowColor());
    EXPECT_EQ(label->savedShadowOffset(), CGSizeMake(0, -1));
    EXPECT_EQ(label->highlightedShadowOffset(), CGSizeMake(0, 1));
}

TEST_F(LVLabelTest, APlainFrameLabelIsNotConfiguredAndHighlightingClearsItsShadow) {
    auto label = UIView::withFrame<LVLabel>(CGRectMake(0, 0, 10, 10));
    label->setShadowColor(UIColor::whiteColor());
    EXPECT_FALSE(label->savedShadowColor());
    EXPECT_EQ(label->highlightedShadowOffset(), CGSizeZero);
    highlight(label, true);
    expectDrawnShadow(*label, "nil", CGSizeZero);
}

} // namespace
