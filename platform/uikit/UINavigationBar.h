#pragma once
// A standalone navigation bar: a stack of navigation items (bottom first, top last), a back
// control leading to the item below the top one, and a delegate that may refuse a pop. The
// stack changes at once; didPush/didPop arrive through the run loop when the bar's animation
// ends (at once when not animated).

#include "platform/uikit/UIView.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIBarButtonItem;
class UINavigationBarDelegate;
class UINavigationItem;

/// `UINavigationBar`.
class UINavigationBar : public UIView {
  public:
    static constexpr const char* kClassName = "UINavigationBar";
    using Super = UIView;

    /// The bar's standard height on a phone in portrait.
    static constexpr CGFloat kHeight = 44;
    /// How long a push or pop animation takes before didPush / didPop.
    // The exact length is not documented; 0.2 s keeps the back control usable soon after a push.
    static constexpr NSTimeInterval kTransitionDuration = 0.2;

    /// The delegate is not retained.
    [[nodiscard]] std::shared_ptr<UINavigationBarDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UINavigationBarDelegate> delegate) { delegate_ = std::move(delegate); }

    /// Bottom first, top last.
    [[nodiscard]] const std::vector<std::shared_ptr<UINavigationItem>>& items() const { return items_; }
    /// `setItems:animated:` (no delegate messages).
    void setItemsAnimated(std::vector<std::shared_ptr<UINavigationItem>> items, bool animated);
    /// The last item, nil when none.
    [[nodiscard]] std::shared_ptr<UINavigationItem> topItem() const;
    /// The item below the top one, nil with fewer than two items.
    [[nodiscard]] std::shared_ptr<UINavigationItem> backItem() const;

    /// `pushNavigationItem:animated:`: shouldPush (when implemented), the push, then didPush
    /// after the animation.
    void pushNavigationItemAnimated(const std::shared_ptr<UINavigationItem>& item, bool animated);
    /// `popNavigationItemAnimated:`: shouldPop (when implemented; NO keeps the item and returns
    /// nil), the pop, then didPop after the animation. Returns the popped item.
    std::shared_ptr<UINavigationItem> popNavigationItemAnimated(bool animated);

    /// True when the back control shows: there is an item below the top, and the top item has
    /// no left item and does not hide it.
    [[nodiscard]] bool showsBackButton() const;
    /// The back control's title: the back item's back-button title, else its title, else "Back".
    [[nodiscard]] std::optional<std::string> backButtonTitle() const;
    /// True while a push or pop animation runs.
    [[nodiscard]] bool isTransitioning() const { return transitions_ > 0; }

    /// The user taps the back control: nothing when it does not show or an animation runs;
    /// else as popNavigationItemAnimated:YES. Returns true when the tap reached the control.
    bool simulateTapBackButton();
    /// The user taps the top item's left item (a custom one replaces the back control).
    bool simulateTapLeftItem();
    /// The user taps the top item's right item.
    bool simulateTapRightItem();

  private:
    void afterTransition(bool animated, const char* name, std::function<void()> step);

    std::weak_ptr<UINavigationBarDelegate> delegate_;
    std::vector<std::shared_ptr<UINavigationItem>> items_;
    int transitions_ = 0;
};
