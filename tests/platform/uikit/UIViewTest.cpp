#include "platform/uikit/UIView.h"

#include "platform/uikit/UIColor.h"
#include "tests/support/DeviceFixture.h"

#include <algorithm>
#include <random>

namespace {

using testing_support::DeviceTest;

class UIViewTest : public DeviceTest {};

TEST_F(UIViewTest, SubviewsKeepBackToFrontOrderAndMoveBetweenSuperviews) {
    auto root = UIView::withFrame(CGRectMake(0, 0, 320, 480));
    auto other = UIView::withFrame(CGRectMake(0, 0, 10, 10));
    auto a = UIView::withFrame(CGRectZero);
    auto b = UIView::withFrame(CGRectZero);
    auto c = UIView::withFrame(CGRectZero);
    root->addSubview(a);
    root->addSubview(b);
    root->insertSubviewBelowSubview(c, a);
    EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<UIView>>{c, a, b}));
    root->bringSubviewToFront(c);
    EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<UIView>>{a, b, c}));
    // Adding to another superview takes the view out of the first one.
    other->addSubview(a);
    EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<UIView>>{b, c}));
    EXPECT_EQ(a->superview(), other);
    a->removeFromSuperview();
    EXPECT_EQ(a->superview(), nullptr);
    EXPECT_TRUE(other->subviews().empty());
}

// A view that counts its layouts.
class CountingView : public UIView {
  public:
    static constexpr const char* kClassName = "CountingView";
    using Super = UIView;
    int layouts = 0;
    void layoutSubviews() override { ++layouts; }
};

// A view that counts its moves to a superview.
class MovingView : public UIView {
  public:
    static constexpr const char* kClassName = "MovingView";
    using Super = UIView;
    int moves = 0;
    void didMoveToSuperview() override { ++moves; }
};

// Only a change of superview is a move: a new place among the same siblings is not.
TEST_F(UIViewTest, OnlyAChangeOfSuperviewIsAMove) {
    auto root = UIView::withFrame(CGRectMake(0, 0, 320, 480));
    auto other = UIView::withFrame(CGRectZero);
    auto view = UIView::withFrame<MovingView>(CGRectZero);
    root->addSubview(view);
    root->addSubview(UIView::withFrame(CGRectZero));
    EXPECT_EQ(view->moves, 1);
    root->insertSubviewAtIndex(view, 1);
    root->sendSubviewToBack(view);
    EXPECT_EQ(view->moves, 1);
    other->addSubview(view);
    EXPECT_EQ(view->moves, 2);
}

TEST_F(UIViewTest, LayoutRunsOnceForEachRequest) {
    auto view = UIView::withFrame<CountingView>(CGRectMake(0, 0, 10, 10));
    EXPECT_TRUE(view->needsLayout()) << "a new view is laid out once";
    view->layoutIfNeeded();
    view->layoutIfNeeded();
    EXPECT_EQ(view->layouts, 1);
    EXPECT_FALSE(view->needsLayout());
    view->setNeedsLayout();
    view->layoutIfNeeded();
    EXPECT_EQ(view->layouts, 2);
}

TEST_F(UIViewTest, SuperviewIsNotRetained) {
    auto child = UIView::withFrame(CGRectZero);
    {
        auto parent = UIView::withFrame(CGRectZero);
        parent->addSubview(child);
    }
    EXPECT_EQ(child->superview(), nullptr);
}

TEST_F(UIViewTest, FramesConvertThroughScrolledAncestors) {
    auto root = UIView::withFrame(CGRectMake(0, 0, 320, 480));
    auto table = UIView::withFrame(CGRectMake(0, 44, 320, 300));
    auto cell = UIView::withFrame(CGRectMake(0, 140, 320, 70));
    root->addSubview(table);
    table->addSubview(cell);
    table->setBounds(CGRectMake(0, 100, 320, 300));
    EXPECT_EQ(table->frame(), CGRectMake(0, 44, 320, 300)) << "bounds origin moves content, not the view";
    EXPECT_EQ(cell->frameInRootView(), CGRectMake(0, 84, 320, 70));
}

TEST_F(UIViewTest, AnUnusedViewHasNoBackgroundAndFullAlpha) {
    auto view = UIView::withFrame(CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(view->backgroundColor(), nullptr);
    EXPECT_EQ(view->alpha(), 1.0f);
    EXPECT_FALSE(view->isHidden());
    EXPECT_EQ(view->center(), CGPointMake(2.5f, 4));
    // Moving the centre keeps the size.
    view->setCenter(CGPointMake(10, 20));
    EXPECT_EQ(view->frame(), CGRectMake(8.5f, 18, 3, 4));
}

// Nothing to insert is no change, whichever way it is asked for.
TEST_F(UIViewTest, InsertingNoViewChangesNothing) {
    auto root = UIView::withFrame(CGRectMake(0, 0, 320, 480));
    auto a = UIView::withFrame(CGRectZero);
    root->addSubview(a);
    root->addSubview(nullptr);
    root->insertSubviewAtIndex(nullptr, 0);
    root->insertSubviewBelowSubview(nullptr, a);
    root->insertSubviewAboveSubview(nullptr, a);
    EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<UIView>>{a}));
}

// Seeded sessions of subview changes on two containers under one root, compared after every step
// with a plain list per container: each change first takes the view out of wherever it is, an
// index is clamped to the list, a neighbour that is not a subview means the end, and a view
// placed below or above itself stays where it is. Tags are found through the whole tree.
class UIViewSubviewSessions : public UIViewTest, public ::testing::WithParamInterface<unsigned> {};

TEST_P(UIViewSubviewSessions, SubviewsFollowAListModel) {
    std::mt19937 random(GetParam());
    auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    auto root = UIView::withFrame(CGRectMake(0, 0, 320, 480));
    root->setTag(100);
    std::vector<std::shared_ptr<UIView>> containers;
    std::vector<std::shared_ptr<UIView>> views;
    for (int i = 0; i < 2; ++i) {
        containers.push_back(UIView::withFrame(CGRectZero));
        containers.back()->setTag(101 + i);
        root->addSubview(containers.back());
    }
    for (int i = 0; i < 5; ++i) {
        views.push_back(UIView::withFrame(CGRectZero));
        views.back()->setTag(1 + i);
    }
    using List = std::vector<std::shared_ptr<UIView>>;
    std::vector<List> model(2);
    auto takeOut = [&model](const std::shared_ptr<UIView>& v) {
        for (List& list : model) {
            std::erase(list, v);
        }
    };
    auto place = [&](std::size_t c, const std::shared_ptr<UIView>& v, std::ptrdiff_t at) {
        takeOut(v);
        List& list = model[c];
        at = std::clamp<std::ptrdiff_t>(at, 0, static_cast<std::ptrdiff_t>(list.size()));
        list.insert(list.begin() + at, v);
    };
    for (int step = 0; step < 40; ++step) {
        const std::size_t c = below(2);
        UIView& container = *containers[c];
        const auto& v = views[below(views.size())];
        const auto& w = views[below(views.size())];
        List& list = model[c];
        const auto wAt = std::find(list.begin(), list.end(), w) - list.begin();
        const bool wIn = w != v && wAt < static_cast<std::ptrdiff_t>(list.size());
        std::string what;
        switch (below(7)) {
        case 0:
            what = "add";
            container.addSubview(v);
            place(c, v, static_cast<std::ptrdiff_t>(list.size()) + 1);
            break;
        case 1: {
            const auto at = static_cast<NSInteger>(below(list.size() + 3)) - 1;
            what = "insert at " + std::to_string(at);
            container.insertSubviewAtIndex(v, at);
            place(c, v, at);
            break;
        }
        case 2:
            what = "insert below";
            container.insertSubviewBelowSubview(v, w);
            if (w == v && wAt < static_cast<std::ptrdiff_t>(list.size())) {
                // A view placed next to itself stays where it is.
            } else if (wIn) {
                takeOut(v);
                list.insert(std::find(list.begin(), list.end(), w), v);
            } else {
                place(c, v, static_cast<std::ptrdiff_t>(list.size()) + 1);
            }
            break;
        case 3:
            what = "insert above";
            container.insertSubviewAboveSubview(v, w);
            if (w == v && wAt < static_cast<std::ptrdiff_t>(list.size())) {
                // A view placed next to itself stays where it is.
            } else if (wIn) {
                takeOut(v);
                list.insert(std::find(list.begin(), list.end(), w) + 1, v);
            } else {
                place(c, v, static_cast<std::ptrdiff_t>(list.size()) + 1);
            }
            break;
        case 4:
            what = "to front";
            container.bringSubviewToFront(v);
            if (std::find(list.begin(), list.end(), v) != list.end()) {
                place(c, v, static_cast<std::ptrdiff_t>(list.size()));
            }
            break;
        case 5:
            what = "to back";
            container.sendSubviewToBack(v);
            if (std::find(list.begin(), list.end(), v) != list.end()) {
                place(c, v, 0);
            }
            break;
        default:
            what = "remove";
            v->removeFromSuperview();
            takeOut(v);
        }
        SCOPED_TRACE("step " + std::to_string(step) + ": " + what + " view " + std::to_string(v->tag()) +
                     " in container " + std::to_string(c) + " (neighbour " + std::to_string(w->tag()) + ")");
        for (std::size_t i = 0; i < 2; ++i) {
            ASSERT_EQ(containers[i]->subviews(), model[i]) << "container " << i;
        }
        for (const auto& view : views) {
            std::shared_ptr<UIView> parent;
            for (std::size_t i = 0; i < 2; ++i) {
                if (std::find(model[i].begin(), model[i].end(), view) != model[i].end()) {
                    parent = containers[i];
                }
            }
            EXPECT_EQ(view->superview(), parent);
            EXPECT_EQ(root->viewWithTag(view->tag()), parent ? view : nullptr);
            EXPECT_EQ(view->isDescendantOfView(*root), parent != nullptr);
        }
    }
    EXPECT_EQ(root->viewWithTag(100), root);
    EXPECT_EQ(root->viewWithTag(102), containers[1]);
}

INSTANTIATE_TEST_SUITE_P(Seeds, UIViewSubviewSessions, ::testing::Range(1U, 31U),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed_" + std::to_string(info.param);
                         });

} // namespace
