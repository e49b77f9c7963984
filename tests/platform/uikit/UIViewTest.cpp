#include "platform/uikit/UIView.h"

#include "platform/uikit/UIColor.h"
#include "tests/support/DeviceFixture.h"

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
}

} // namespace
