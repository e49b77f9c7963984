#include "platform/uikit/UINavigationBar.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/AdoptsUINavigationBarDelegate.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationItem.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"

namespace {

using testing_support::DeviceTest;

class BarDelegate final : public AdoptsUINavigationBarDelegate<BarDelegate> {
  public:
    bool allowPop = true;
    std::vector<std::string> log;
    std::shared_ptr<UINavigationBar> bar;
    bool navigationBarShouldPopItem(BarRef b, ItemRef item) override {
        log.push_back("shouldPop:" + item->title().value_or("") +
                      " top=" + b->topItem()->title().value_or(""));
        return allowPop;
    }
    void navigationBarDidPopItem(BarRef b, ItemRef item) override {
        log.push_back("didPop:" + item->title().value_or("") + " top=" + b->topItem()->title().value_or(""));
    }
    void navigationBarDidPushItem(BarRef, ItemRef item) override {
        log.push_back("didPush:" + item->title().value_or(""));
    }
};

class Target : public NSObject {
  public:
    static constexpr const char* kClassName = "BarTestTarget";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.method<&Target::topBarButtonClicked>(rt::Msg<void(id)>{"topBarButtonClicked:"});
    }
    std::vector<id> senders;
    void topBarButtonClicked(id sender) { senders.push_back(std::move(sender)); }
};

class UINavigationBarTest : public DeviceTest {
  protected:
    std::shared_ptr<UINavigationBar> bar = UIView::withFrame<UINavigationBar>(CGRectMake(0, 0, 320, 44));
    std::shared_ptr<BarDelegate> delegate = std::make_shared<BarDelegate>();
    std::shared_ptr<UINavigationItem> root = UINavigationItem::withTitle(std::string("Saved Times"));
    std::shared_ptr<UINavigationItem> panel = UINavigationItem::withTitle(std::string("Time: 00:01:02.3"));

    void SetUp() override {
        bar->setDelegate(delegate);
        bar->pushNavigationItemAnimated(root, true);
        bar->pushNavigationItemAnimated(panel, true);
        runFor(1);
        delegate->log.clear();
    }
};

TEST_F(UINavigationBarTest, ShouldPopComesBeforeThePopAndDidPopAfterItsAnimation) {
    EXPECT_TRUE(bar->showsBackButton());
    EXPECT_EQ(bar->backButtonTitle(), "Saved Times");
    EXPECT_TRUE(bar->simulateTapBackButton());
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"shouldPop:Time: 00:01:02.3 top=Time: 00:01:02.3"}));
    EXPECT_EQ(bar->topItem(), root) << "the stack changes at once";
    EXPECT_EQ(bar->backItem(), nullptr);
    runFor(UINavigationBar::kTransitionDuration);
    EXPECT_EQ(delegate->log.back(), "didPop:Time: 00:01:02.3 top=Saved Times");
}

// A bar without a delegate pops and pushes all the same, and its animations end quietly.
TEST_F(UINavigationBarTest, WithoutADelegateItemsStillComeAndGo) {
    bar->setDelegate({});
    EXPECT_TRUE(bar->simulateTapBackButton());
    runFor(UINavigationBar::kTransitionDuration);
    EXPECT_EQ(bar->topItem(), root);
    bar->pushNavigationItemAnimated(panel, true);
    runFor(UINavigationBar::kTransitionDuration);
    EXPECT_EQ(bar->popNavigationItemAnimated(false), panel);
    runFor(UINavigationBar::kTransitionDuration);
    EXPECT_EQ(bar->topItem(), root);
    EXPECT_TRUE(delegate->log.empty());
}

TEST_F(UINavigationBarTest, ARefusedPopKeepsTheItem) {
    delegate->allowPop = false;
    bar->simulateTapBackButton();
    runFor(1);
    EXPECT_EQ(bar->topItem(), panel);
    EXPECT_EQ(bar->items().size(), 2u);
    EXPECT_EQ(delegate->log.size(), 1u) << "no didPop";
}

TEST_F(UINavigationBarTest, PushesReportAfterTheirAnimation) {
    auto third = UINavigationItem::withTitle(std::string("third"));
    bar->pushNavigationItemAnimated(third, true);
    EXPECT_EQ(bar->topItem(), third);
    EXPECT_TRUE(delegate->log.empty());
    EXPECT_FALSE(bar->simulateTapBackButton()) << "the back control waits for the animation";
    runFor(UINavigationBar::kTransitionDuration);
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"didPush:third"}));
}

TEST_F(UINavigationBarTest, TheFirstItemOfAnEmptyBarAppearsAtOnce) {
    auto fresh = UIView::withFrame<UINavigationBar>(CGRectMake(0, 0, 320, 44));
    fresh->setDelegate(delegate);
    fresh->pushNavigationItemAnimated(root, true);
    EXPECT_FALSE(fresh->isTransitioning());
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"didPush:Saved Times"}));
    EXPECT_EQ(fresh->popNavigationItemAnimated(false), nullptr) << "the bar keeps its only item";
    EXPECT_EQ(fresh->topItem(), root);
    fresh->pushNavigationItemAnimated(panel, true);
    EXPECT_TRUE(fresh->isTransitioning()) << "a second item slides in over the first";
}

struct BackTitleCase {
    std::optional<std::string> backItemTitle;
    std::optional<std::string> backButtonTitle;
    std::optional<std::string> expected;
};

void PrintTo(const BackTitleCase& c, std::ostream* out) {
    *out << c.backItemTitle.value_or("untitled") << " back button " << c.backButtonTitle.value_or("none");
}

class BackTitleTest : public DeviceTest, public ::testing::WithParamInterface<BackTitleCase> {};

TEST_P(BackTitleTest, ComesFromTheBackItem) {
    auto bar = UIView::withFrame<UINavigationBar>(CGRectMake(0, 0, 320, 44));
    auto below = UINavigationItem::withTitle(GetParam().backItemTitle);
    if (GetParam().backButtonTitle) {
        below->setBackBarButtonItem(UIBarButtonItem::withTitle(GetParam().backButtonTitle,
                                                               UIBarButtonItemStylePlain, nullptr, SEL()));
    }
    bar->pushNavigationItemAnimated(below, false);
    bar->pushNavigationItemAnimated(UINavigationItem::withTitle(std::string("top")), false);
    EXPECT_EQ(bar->backButtonTitle(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, BackTitleTest,
                         ::testing::Values(BackTitleCase{"Saved Times", std::nullopt, "Saved Times"},
                                           BackTitleCase{"Saved Times", "List", "List"},
                                           BackTitleCase{std::nullopt, std::nullopt, "Back"}),
                         testing_support::PrintedName());

TEST_F(UINavigationBarTest, ALeftItemReplacesTheBackControl) {
    panel->setLeftBarButtonItem(
        UIBarButtonItem::withTitle(std::string("Add"), UIBarButtonItemStyleDone, nullptr, SEL()));
    EXPECT_FALSE(bar->showsBackButton());
    EXPECT_FALSE(bar->simulateTapBackButton());
}

TEST_F(UINavigationBarTest, BarItemsSendTheirActionWithThemselvesAsSender) {
    auto target = rt::make<Target>();
    auto edit = UIBarButtonItem::withTitle(std::string("Edit"), UIBarButtonItemStylePlain, target,
                                           sel_registerName("topBarButtonClicked:"));
    panel->setRightBarButtonItem(edit);
    EXPECT_TRUE(bar->simulateTapRightItem());
    ASSERT_EQ(target->senders.size(), 1u);
    EXPECT_EQ(target->senders[0], edit);
    edit->setEnabled(false);
    EXPECT_FALSE(bar->simulateTapRightItem());
    EXPECT_EQ(target->senders.size(), 1u);
}

} // namespace
