#pragma once
// The navigation bar's delegate protocol. Every method is optional; `implements` says which ones
// the delegate has, derived by AdoptsUINavigationBarDelegate from the methods the adopter
// overrides.

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
    /// True for the optional methods this delegate implements, as `respondsToSelector:` would
    /// answer. Derived by `AdoptsUINavigationBarDelegate` from the methods the adopter overrides.
    [[nodiscard]] bool implements(Method method) const { return implementsOptional(method, Adoption{}); }

    /// `navigationBar:shouldPushItem:`.
    virtual bool navigationBarShouldPushItem(BarRef, ItemRef) { return true; }
    /// `navigationBar:didPushItem:`, after the push animation.
    virtual void navigationBarDidPushItem(BarRef, ItemRef) {}
    /// `navigationBar:shouldPopItem:`, before the pop; NO keeps the item.
    virtual bool navigationBarShouldPopItem(BarRef, ItemRef) { return true; }
    /// `navigationBar:didPopItem:`, after the pop animation.
    virtual void navigationBarDidPopItem(BarRef, ItemRef) {}

  private:
    template <class Adopter>
    friend class AdoptsUINavigationBarDelegate;
    // Only the adoption template can name this type, so only it can answer `implements`.
    struct Adoption {};
    [[nodiscard]] virtual bool implementsOptional(Method method, Adoption) const = 0;
};
