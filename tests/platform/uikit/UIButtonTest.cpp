#include "platform/uikit/UIButton.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"

namespace {

using testing_support::DeviceTest;

// An action target with both kinds of action method.
class Target : public NSObject {
  public:
    static constexpr const char* kClassName = "ButtonTestTarget";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.method<&Target::saveButtonClicked>(rt::Msg<void()>{"saveButtonClicked"});
        b.method<&Target::clicked>(rt::Msg<void(id)>{"clicked:"});
    }
    int plain = 0;
    std::vector<id> senders;
    void saveButtonClicked() { ++plain; }
    void clicked(id sender) { senders.push_back(std::move(sender)); }
};

class UIButtonTest : public DeviceTest {
  protected:
    std::shared_ptr<UIButton> button = UIButton::buttonWithType(UIButtonTypeCustom);
    std::shared_ptr<Target> target = rt::make<Target>();
};

TEST_F(UIButtonTest, ATapSendsTouchUpInsideWithOrWithoutTheSender) {
    EXPECT_EQ(button->frame(), CGRectZero);
    button->addTargetActionForControlEvents(target, sel_registerName("saveButtonClicked"),
                                            UIControlEventTouchUpInside);
    button->addTargetActionForControlEvents(target, sel_registerName("clicked:"),
                                            UIControlEventTouchUpInside);
    EXPECT_TRUE(button->simulateTap());
    EXPECT_EQ(target->plain, 1);
    ASSERT_EQ(target->senders.size(), 1u);
    EXPECT_EQ(target->senders[0], button);
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(UIButtonTest, ItsTitleFillsTheButton) {
    button->setFrame(CGRectMake(30, 40, 120, 44));
    button->setTitleForState("Start", UIControlStateNormal);
    button->layoutIfNeeded();
    EXPECT_EQ(button->titleLabel()->frame(), CGRectMake(0, 0, 120, 44));
    EXPECT_EQ(button->titleLabel()->text(), "Start");
    // An image is centred at its own size, on both axes.
    button->setImageForState(rt::make<UIImage>("dot.png", CGSizeMake(20, 8), 1), UIControlStateNormal);
    button->layoutIfNeeded();
    EXPECT_EQ(button->imageView()->frame(), CGRectMake(50, 18, 20, 8));
}

TEST_F(UIButtonTest, ADisabledButtonSendsNothing) {
    button->addTargetActionForControlEvents(target, sel_registerName("saveButtonClicked"),
                                            UIControlEventTouchUpInside);
    button->setEnabled(false);
    EXPECT_FALSE(button->simulateTap());
    EXPECT_EQ(target->plain, 0);
    EXPECT_EQ(button->state(), UIControlStateDisabled);
    button->setEnabled(true);
    button->simulateTap();
    EXPECT_EQ(target->plain, 1);
}

TEST_F(UIButtonTest, TargetsAreNotRetainedAndAFreedTargetCrashes) {
    std::weak_ptr<Target> weak = target;
    button->addTargetActionForControlEvents(target, sel_registerName("saveButtonClicked"),
                                            UIControlEventTouchUpInside);
    target.reset();
    EXPECT_TRUE(weak.expired());
    try {
        button->simulateTap();
        FAIL() << "expected a crash";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), EXC_BAD_ACCESS);
    }
}

// Removal takes exactly the pairs it names: a nil target or a nil action stands for every one.
TEST_F(UIButtonTest, RemovalTakesOnlyThePairsItNames) {
    auto other = rt::make<Target>();
    const SEL save = sel_registerName("saveButtonClicked");
    const SEL clicked = sel_registerName("clicked:");
    for (const id& t : {id(target), id(other)}) {
        button->addTargetActionForControlEvents(t, save, UIControlEventTouchUpInside);
        button->addTargetActionForControlEvents(t, clicked, UIControlEventTouchUpInside);
    }
    auto actions = [this](const id& t) {
        std::vector<std::string> out;
        for (SEL action : button->actionsForTargetForControlEvent(t, UIControlEventTouchUpInside)) {
            out.push_back(action.name());
        }
        return out;
    };
    button->removeTargetActionForControlEvents(target, clicked, UIControlEventTouchUpInside);
    EXPECT_EQ(actions(target), std::vector<std::string>{"saveButtonClicked"});
    EXPECT_EQ(actions(other), (std::vector<std::string>{"saveButtonClicked", "clicked:"}));
    button->removeTargetActionForControlEvents(nullptr, save, UIControlEventTouchUpInside);
    EXPECT_EQ(actions(target), std::vector<std::string>{});
    EXPECT_EQ(actions(other), std::vector<std::string>{"clicked:"});
    button->removeTargetActionForControlEvents(other, SEL{}, UIControlEventTouchUpInside);
    EXPECT_EQ(actions(other), std::vector<std::string>{});
    EXPECT_TRUE(button->simulateTap());
    EXPECT_EQ(target->plain, 0);
}

struct StateCase {
    NSUInteger setState;
    NSUInteger askState;
    const char* expected;
};

std::string stateName(NSUInteger state) {
    std::string name;
    for (auto [flag, word] :
         {std::pair{UIControlStateHighlighted, "Highlighted"}, std::pair{UIControlStateDisabled, "Disabled"},
          std::pair{UIControlStateSelected, "Selected"}}) {
        if ((state & flag) != 0) {
            name += (name.empty() ? "" : "+") + std::string(word);
        }
    }
    return name.empty() ? "Normal" : name;
}

void PrintTo(const StateCase& c, std::ostream* out) {
    *out << "set " << stateName(c.setState) << " ask " << stateName(c.askState);
}

class UIButtonStateTest : public UIButtonTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(UIButtonStateTest, ValuesFallBackToNormalOnly) {
    button->setTitleForState("normal", UIControlStateNormal);
    button->setTitleForState("set", GetParam().setState);
    EXPECT_EQ(button->titleForState(GetParam().askState).value_or("(nil)"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    States, UIButtonStateTest,
    ::testing::Values(StateCase{UIControlStateSelected, UIControlStateSelected, "set"},
                      StateCase{UIControlStateSelected, UIControlStateHighlighted, "normal"},
                      // A combined state is a key of its own: it does not fall back to Selected.
                      StateCase{UIControlStateSelected, UIControlStateSelected | UIControlStateHighlighted,
                                "normal"},
                      StateCase{UIControlStateSelected | UIControlStateHighlighted,
                                UIControlStateSelected | UIControlStateHighlighted, "set"},
                      StateCase{UIControlStateDisabled, UIControlStateDisabled, "set"}),
    testing_support::PrintedName());

TEST_F(UIButtonTest, TheTitleLabelFollowsTheTitleAtLayout) {
    auto label = button->titleLabel();
    label->setFont(UIFont::boldSystemFontOfSize(24));
    label->setAlpha(0.2f);
    button->setTitleForState("Save", UIControlStateNormal);
    EXPECT_EQ(button->currentTitle(), "Save");
    button->layoutIfNeeded();
    EXPECT_EQ(label->text(), "Save");
    EXPECT_EQ(label->alpha(), 0.2f) << "layout leaves the label's alpha and font alone";
    EXPECT_TRUE(label->font()->isBold());
    EXPECT_TRUE(sameColor(label->textColor(), UIColor::whiteColor()));
}

TEST_F(UIButtonTest, LabelsDrawTheHighlightedColourOnlyWhenTheyHaveOne) {
    auto label = UIView::withFrame<UILabel>(CGRectZero);
    EXPECT_TRUE(sameColor(label->textColor(), UIColor::blackColor()));
    EXPECT_EQ(label->font()->pointSize(), 17) << "the system font of 17 points";
    EXPECT_FALSE(label->font()->isBold());
    label->setFont(UIFont::boldSystemFontOfSize(24));
    label->setFont(nullptr);
    EXPECT_EQ(label->font()->pointSize(), 17) << "nil gives the default back";
    EXPECT_EQ(label->shadowColor(), nullptr);
    EXPECT_EQ(label->shadowOffset(), CGSizeMake(0, -1));
    label->setHighlighted(true);
    EXPECT_TRUE(sameColor(label->effectiveTextColor(), UIColor::blackColor()));
    label->setHighlightedTextColor(UIColor::whiteColor());
    EXPECT_TRUE(sameColor(label->effectiveTextColor(), UIColor::whiteColor()));
    label->setHighlighted(false);
    EXPECT_TRUE(sameColor(label->effectiveTextColor(), UIColor::blackColor()));
}

TEST_F(UIButtonTest, NamedColoursHaveThePlatformsComponents) {
    struct Named {
        std::shared_ptr<UIColor> color;
        const char* name;
        float red, green, blue, alpha;
    };
    const float third = 1.0f / 3.0f;
    for (const Named& c :
         {Named{UIColor::clearColor(), "clear", 0, 0, 0, 0},
          Named{UIColor::blackColor(), "black", 0, 0, 0, 1},
          Named{UIColor::darkGrayColor(), "darkGray", third, third, third, 1},
          Named{UIColor::grayColor(), "gray", 0.5f, 0.5f, 0.5f, 1},
          Named{UIColor::lightGrayColor(), "lightGray", 2 * third, 2 * third, 2 * third, 1},
          Named{UIColor::whiteColor(), "white", 1, 1, 1, 1}, Named{UIColor::redColor(), "red", 1, 0, 0, 1},
          Named{UIColor::greenColor(), "green", 0, 1, 0, 1},
          Named{UIColor::blueColor(), "blue", 0, 0, 1, 1}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.color->name(), c.name);
        EXPECT_FLOAT_EQ(c.color->red(), c.red);
        EXPECT_FLOAT_EQ(c.color->green(), c.green);
        EXPECT_FLOAT_EQ(c.color->blue(), c.blue);
        EXPECT_FLOAT_EQ(c.color->alpha(), c.alpha);
    }
    // A button's title is opaque whatever its kind.
    for (UIButtonType type : {UIButtonTypeCustom, UIButtonTypeRoundedRect}) {
        EXPECT_FLOAT_EQ(UIButton::buttonWithType(type)->currentTitleColor()->alpha(), 1) << type;
    }
    EXPECT_FLOAT_EQ(UIColor::colorWithWhiteAlpha(1.5f, -1)->red(), 1) << "components clamp to 0..1";
    EXPECT_TRUE(UIFont::systemFontOfSize(14)->isEqual(*UIFont::systemFontOfSize(14)));
    EXPECT_FALSE(UIFont::systemFontOfSize(14)->isEqual(*UIFont::boldSystemFontOfSize(14)));
}

} // namespace
