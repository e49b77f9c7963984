#pragma once
// The navigation bar's delegate protocol. Every method is optional; `implements` says which ones
// the delegate has.

#include <memory>

class UINavigationBar;
class UINavigationItem;

/// `UINavigationBarDelegate`.
class UINavigationBarDelegate {
  public:
    enum class Method { ShouldPushItem, DidPushItem, ShouldPopItem, DidPopItem };

    using BarRef = const std::shared_ptr<UINavigationBar>&;
    using ItemRef = const std::shared_ptr<UINavigationItem>&;

    virtual ~UINavigationBarDelegate() = default;
    /// True for the optional methods this delegate implements.
    [[nodiscard]] virtual bool implements(Method method) const = 0;

    /// `navigationBar:shouldPushItem:`.
    virtual bool navigationBarShouldPushItem(BarRef, ItemRef) { return true; }
    /// `navigationBar:didPushItem:`, after the push animation.
    virtual void navigationBarDidPushItem(BarRef, ItemRef) {}
    /// `navigationBar:shouldPopItem:`, before the pop; NO keeps the item.
    virtual bool navigationBarShouldPopItem(BarRef, ItemRef) { return true; }
    /// `navigationBar:didPopItem:`, after the pop animation.
    virtual void navigationBarDidPopItem(BarRef, ItemRef) {}
};
