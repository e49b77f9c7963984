#pragma once
// A tab bar controller: an ordered list of view controllers, one of them selected and shown
// above the tab bar. The selected controller gets the appearance messages whenever it becomes
// selected while the tab bar controller is on screen; a tab's view is loaded only when the tab
// is first shown.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/UIViewController.h"

#include <memory>
#include <vector>

class UITabBarControllerDelegate;
class UITabBarItem;

/// `UITabBarController`.
class UITabBarController : public UIViewController {
  public:
    static constexpr const char* kClassName = "UITabBarController";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b);

    /// The height of the tab bar at the bottom of the controller's view.
    static constexpr CGFloat kTabBarHeight = 49;
    /// The most items a phone's tab bar shows; beyond that the fifth becomes "More".
    static constexpr std::size_t kMaxVisibleItems = 5;

    [[nodiscard]] const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const {
        return controllers_;
    }
    /// `setViewControllers:animated:`: installs the new list, then keeps the previously selected
    /// controller selected if it is still there, else selects the previous index if valid,
    /// else index 0.
    void setViewControllers(std::vector<std::shared_ptr<UIViewController>> controllers,
                            bool animated = false);

    /// The selected index; NSNotFound when there is nothing to select.
    [[nodiscard]] NSUInteger selectedIndex() const;
    /// `setSelectedIndex:`; an index outside the list changes nothing.
    void setSelectedIndex(NSUInteger index);
    [[nodiscard]] std::shared_ptr<UIViewController> selectedViewController() const;
    /// `setSelectedViewController:`; a controller not in the list raises
    /// NSInvalidArgumentException as on the phone.
    void setSelectedViewController(const std::shared_ptr<UIViewController>& controller);

    [[nodiscard]] std::shared_ptr<UITabBarControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UITabBarControllerDelegate> delegate) { delegate_ = std::move(delegate); }

    /// The items the bar shows, in order: all of them up to five, else the first four (the
    /// "More" item, which `showsMoreItem` reports, takes the fifth place).
    [[nodiscard]] std::vector<std::shared_ptr<UITabBarItem>> visibleItems() const;
    [[nodiscard]] bool showsMoreItem() const { return controllers_.size() > kMaxVisibleItems; }

    /// The user taps the tab at `index` of the visible items: asks the delegate, selects (with
    /// the appearance messages), then tells the delegate, even for the tab already selected.
    /// Returns false for an index with no tab.
    bool simulateTapOnTab(NSUInteger index);

    // Registered overrides: the tab bar controller passes its own appearance to the selected tab.
    void loadView();
    void viewWillAppear(bool animated);
    void viewDidAppear(bool animated);
    void viewWillDisappear(bool animated);
    void viewDidDisappear(bool animated);

  private:
    void select(std::size_t index, bool animated);
    void installChildView(const std::shared_ptr<UIViewController>& child);
    [[nodiscard]] CGRect contentFrame();

    std::vector<std::shared_ptr<UIViewController>> controllers_;
    std::size_t selected_ = 0;
    std::weak_ptr<UITabBarControllerDelegate> delegate_;
    bool visible_ = false;
};
