#include "platform/uikit/UIViewController.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/uikit/AdoptsUITabBarControllerDelegate.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"
#include "platform/uikit/UIWindow.h"
#include "tests/support/CaseName.h"
#include "tests/support/DeviceFixture.h"

namespace {

using testing_support::DeviceTest;

std::vector<std::string>* gLog = nullptr;

// A controller that overrides the appearance methods the way an app's controller does:
// its own C++ methods, registered in its own describe, each calling the base first. Each logs
// its name and the message, and "animated" when the transition is.
class Screen : public UIViewController {
  public:
    static constexpr const char* kClassName = "TestScreen";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b) {
        b.method<&Screen::viewDidLoad>(msg::viewDidLoad);
        b.method<&Screen::viewWillAppear>(msg::viewWillAppear);
        b.method<&Screen::viewDidAppear>(msg::viewDidAppear);
        b.method<&Screen::viewWillDisappear>(msg::viewWillDisappear);
    }
    std::string name;
    void viewDidLoad() {
        UIViewController::viewDidLoad();
        gLog->push_back(name + ".didLoad");
    }
    void viewWillAppear(bool animated) {
        UIViewController::viewWillAppear(animated);
        gLog->push_back(name + ".willAppear" + (animated ? " animated" : ""));
    }
    void viewDidAppear(bool animated) {
        UIViewController::viewDidAppear(animated);
        gLog->push_back(name + ".didAppear" + (animated ? " animated" : ""));
    }
    void viewWillDisappear(bool animated) {
        UIViewController::viewWillDisappear(animated);
        gLog->push_back(name + ".willDisappear" + (animated ? " animated" : ""));
    }
};

// A screen that also tells when it has disappeared.
class LeavingScreen : public Screen {
  public:
    static constexpr const char* kClassName = "TestLeavingScreen";
    using Super = Screen;
    static void describe(rt::ClassBuilder& b) {
        b.method<&LeavingScreen::viewDidDisappear>(msg::viewDidDisappear);
    }
    void viewDidDisappear(bool animated) {
        UIViewController::viewDidDisappear(animated);
        gLog->push_back(name + ".didDisappear" + (animated ? " animated" : ""));
    }
};

class Delegate final : public AdoptsUITabBarControllerDelegate<Delegate> {
  public:
    void
    tabBarControllerDidSelectViewController(const std::shared_ptr<UITabBarController>&,
                                            const std::shared_ptr<UIViewController>& controller) override {
        gLog->push_back("delegate.didSelect:" + std::static_pointer_cast<Screen>(controller)->name);
    }
};

class UIViewControllerTest : public DeviceTest {
  protected:
    std::vector<std::string> log;
    void SetUp() override { gLog = &log; }
    void TearDown() override { gLog = nullptr; }

    std::shared_ptr<Screen> screen(const std::string& name) {
        auto s = rt::make<Screen>();
        s->initWithNibNameBundle(std::nullopt, nullptr);
        s->name = name;
        s->setTitle(name);
        return s;
    }
};

TEST_F(UIViewControllerTest, TheViewLoadsOnFirstAccessThroughTheRuntime) {
    auto s = screen("a");
    EXPECT_FALSE(s->isViewLoaded());
    EXPECT_TRUE(log.empty());
    auto view = s->view();
    EXPECT_EQ(log, (std::vector<std::string>{"a.didLoad"}));
    EXPECT_EQ(view->frame(), CGRectMake(0, 20, 320, 460)) << "a plain view fills the application frame";
    s->view();
    EXPECT_EQ(log.size(), 1u) << "viewDidLoad runs once";
    // The view sits in the `_view` instance variable where code reading variables finds it.
    Ivar ivar = class_getInstanceVariable(object_getClass(s), "_view");
    ASSERT_NE(ivar, nullptr);
    EXPECT_EQ(object_getIvar(s, ivar), view);
}

TEST_F(UIViewControllerTest, AReplacedViewDidLoadRunsInsteadOfTheClasssOwn) {
    auto s = screen("a");
    IMP original = class_replaceMethod(object_getClass(s), msg::viewDidLoad.sel(),
                                       rt::imp<void()>([](const id&, SEL) { gLog->push_back("hooked"); }),
                                       msg::viewDidLoad.types());
    ASSERT_NE(original, nullptr);
    s->view();
    EXPECT_EQ(log, (std::vector<std::string>{"hooked"}));
}

TEST_F(UIViewControllerTest, TheTabBarItemTakesTheTitle) {
    auto s = screen("a");
    auto item = s->tabBarItem();
    EXPECT_EQ(item->title(), "a");
    s->setTitle("Saved");
    EXPECT_EQ(item->title(), "Saved");
    EXPECT_EQ(item->image(), nullptr);
}

TEST_F(UIViewControllerTest, TabsLoadWhenFirstShownAndAppearOnEverySelectionOnScreen) {
    auto tabs = rt::make<UITabBarController>();
    auto a = screen("a");
    auto b = screen("b");
    tabs->setViewControllers({a, b});
    tabs->setSelectedIndex(1);
    EXPECT_TRUE(log.empty()) << "nothing appears while the tab bar controller is off screen";
    EXPECT_FALSE(b->isViewLoaded());

    auto window = UIView::withFrame<UIWindow>(CGRectMake(0, 0, 320, 480));
    window->setRootViewController(tabs);
    window->setHidden(true);
    window->makeKeyAndVisible();
    EXPECT_FALSE(window->isHidden()) << "making a window visible shows it";
    EXPECT_EQ(log, (std::vector<std::string>{"b.didLoad", "b.willAppear", "b.didAppear"}));
    EXPECT_FALSE(a->isViewLoaded());
    EXPECT_EQ(b->view()->frame().size.height, 460 - UITabBarController::kTabBarHeight);

    log.clear();
    tabs->setSelectedViewController(a);
    EXPECT_EQ(log, (std::vector<std::string>{"b.willDisappear", "a.didLoad", "a.willAppear", "a.didAppear"}));
    log.clear();
    tabs->setSelectedIndex(0);
    EXPECT_TRUE(log.empty()) << "selecting the selected tab again changes nothing";
}

// A window made visible without a size fills the screen; one with a size keeps it.
TEST_F(UIViewControllerTest, AWindowWithoutASizeFillsTheScreen) {
    auto sized = UIView::withFrame<UIWindow>(CGRectMake(0, 20, 200, 100));
    sized->makeKeyAndVisible();
    EXPECT_EQ(sized->frame(), CGRectMake(0, 20, 200, 100));
    auto unsized = UIView::withFrame<UIWindow>(CGRectZero);
    unsized->makeKeyAndVisible();
    EXPECT_EQ(unsized->frame(), UIScreen::mainScreen()->bounds());
}

// A visible window's new root appears and the old one disappears, its view taken out; off
// screen nothing is told.
TEST_F(UIViewControllerTest, AWindowsNewRootAppearsAndTheOldOneDisappears) {
    auto window = UIView::withFrame<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto a = rt::make<LeavingScreen>();
    a->initWithNibNameBundle(std::nullopt, nullptr);
    a->name = "a";
    auto b = screen("b");
    window->setRootViewController(a);
    EXPECT_TRUE(log.empty()) << "not visible yet";
    auto other = UIView::withFrame<UIWindow>(CGRectMake(0, 0, 320, 480));
    EXPECT_FALSE(window->isKeyWindow());
    window->makeKeyAndVisible();
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_FALSE(other->isKeyWindow());
    log.clear();
    window->setRootViewController(b);
    EXPECT_EQ(log, (std::vector<std::string>{"a.willDisappear", "a.didDisappear", "b.didLoad", "b.willAppear",
                                             "b.didAppear"}));
    EXPECT_EQ(a->view()->superview(), nullptr);
    EXPECT_EQ(b->view()->superview(), window);
    log.clear();
    window->setRootViewController(b);
    EXPECT_TRUE(log.empty()) << "the same root again changes nothing";
}

// A new list of tabs lets go of the controllers it leaves out, their views taken off, and keeps
// the ones it still holds where they were.
TEST_F(UIViewControllerTest, ANewListOfTabsLetsGoOnlyOfThoseItLeavesOut) {
    auto tabs = rt::make<UITabBarController>();
    auto a = screen("a");
    auto b = screen("b");
    auto c = screen("c");
    tabs->setViewControllers({a, b});
    auto window = UIView::withFrame<UIWindow>(CGRectMake(0, 0, 320, 480));
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
    tabs->setSelectedViewController(b);
    tabs->setSelectedViewController(a);
    tabs->setViewControllers({a, c});
    EXPECT_EQ(b->tabBarController(), nullptr);
    EXPECT_EQ(a->tabBarController(), tabs);
    EXPECT_EQ(c->tabBarController(), tabs);
    EXPECT_EQ(tabs->selectedViewController(), a);
    EXPECT_EQ(a->view()->superview(), tabs->view()) << "the selected tab stays on screen";
    EXPECT_EQ(b->view()->superview(), nullptr);
    // A selected tab left out disappears, and the tab now in its place appears.
    auto d = rt::make<LeavingScreen>();
    d->initWithNibNameBundle(std::nullopt, nullptr);
    d->name = "d";
    tabs->setViewControllers({a, d});
    tabs->setSelectedViewController(d);
    log.clear();
    tabs->setViewControllers({a});
    EXPECT_EQ(log,
              (std::vector<std::string>{"d.willDisappear", "a.willAppear", "d.didDisappear", "a.didAppear"}));
    EXPECT_EQ(d->view()->superview(), nullptr);
}

TEST_F(UIViewControllerTest, OnlyUserTapsReachTheDelegate) {
    auto tabs = rt::make<UITabBarController>();
    auto delegate = std::make_shared<Delegate>();
    tabs->setDelegate(delegate);
    auto a = screen("a");
    auto b = screen("b");
    tabs->setViewControllers({a, b});
    tabs->setSelectedIndex(1);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(tabs->simulateTapOnTab(1));
    EXPECT_EQ(log, (std::vector<std::string>{"delegate.didSelect:b"})) << "a re-tap is still reported";
    EXPECT_FALSE(tabs->simulateTapOnTab(2));
}

TEST_F(UIViewControllerTest, ATapWithoutADelegateSelectsTheTab) {
    auto tabs = rt::make<UITabBarController>();
    auto a = screen("a");
    auto b = screen("b");
    tabs->setViewControllers({a, b});
    EXPECT_TRUE(tabs->simulateTapOnTab(1));
    EXPECT_EQ(tabs->selectedViewController(), b);
}

TEST_F(UIViewControllerTest, SelectingAControllerOutsideTheListRaises) {
    auto tabs = rt::make<UITabBarController>();
    tabs->setViewControllers({screen("a")});
    EXPECT_THROW(tabs->setSelectedViewController(screen("stranger")), NSException);
}

struct RetentionCase {
    std::vector<std::string> before;
    std::size_t selected;
    std::vector<std::string> after;
    std::string expected;
};

void PrintTo(const RetentionCase& c, std::ostream* out) {
    *out << "selected " << c.before[c.selected] << " then";
    for (const auto& name : c.after) {
        *out << " " << name;
    }
}

class TabRetentionTest : public UIViewControllerTest, public ::testing::WithParamInterface<RetentionCase> {};

TEST_P(TabRetentionTest, SetViewControllersKeepsTheSelectionItCan) {
    std::map<std::string, std::shared_ptr<Screen>> screens;
    auto get = [&](const std::string& name) {
        auto& s = screens[name];
        if (!s) {
            s = screen(name);
        }
        return s;
    };
    auto tabs = rt::make<UITabBarController>();
    std::vector<std::shared_ptr<UIViewController>> before;
    for (const auto& name : GetParam().before) {
        before.push_back(get(name));
    }
    tabs->setViewControllers(before);
    tabs->setSelectedIndex(static_cast<NSUInteger>(GetParam().selected));
    std::vector<std::shared_ptr<UIViewController>> after;
    for (const auto& name : GetParam().after) {
        after.push_back(get(name));
    }
    tabs->setViewControllers(after);
    EXPECT_EQ(std::static_pointer_cast<Screen>(tabs->selectedViewController())->name, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, TabRetentionTest,
                         ::testing::Values(
                             // The selected controller is kept wherever it moved.
                             RetentionCase{{"w", "a", "s", "t"}, 2, {"w", "a", "t", "s", "saved"}, "s"},
                             // Gone: the same index.
                             RetentionCase{{"w", "a", "s"}, 1, {"x", "y", "z"}, "y"},
                             // Gone and the index is out of range: the first.
                             RetentionCase{{"w", "a", "s"}, 2, {"x"}, "x"}),
                         testing_support::PrintedName());

TEST_F(UIViewControllerTest, AfterFiveTabsTheFifthBecomesMore) {
    auto tabs = rt::make<UITabBarController>();
    std::vector<std::shared_ptr<UIViewController>> five;
    for (int i = 0; i < 5; ++i) {
        five.push_back(screen(std::to_string(i)));
    }
    tabs->setViewControllers(five);
    EXPECT_EQ(tabs->visibleItems().size(), 5u);
    EXPECT_FALSE(tabs->showsMoreItem());
    five.push_back(screen("6"));
    tabs->setViewControllers(five);
    EXPECT_EQ(tabs->visibleItems().size(), 4u);
    EXPECT_TRUE(tabs->showsMoreItem());
    // Only the visible items are tabs to tap: the fifth place is More's.
    EXPECT_TRUE(tabs->simulateTapOnTab(3));
    EXPECT_EQ(tabs->selectedIndex(), 3u);
    EXPECT_FALSE(tabs->simulateTapOnTab(4));
    EXPECT_EQ(tabs->selectedIndex(), 3u);
}

} // namespace
