#pragma once
// The tab bar controller's delegate protocol. Both methods are optional; `implements` says
// which ones the delegate has, as respondsToSelector: would, derived by
// AdoptsUITabBarControllerDelegate from the methods the adopter overrides.

#include <memory>

class UITabBarController;
class UIViewController;

/// `UITabBarControllerDelegate`.
class UITabBarControllerDelegate {
  public:
    enum class Method { ShouldSelectViewController, DidSelectViewController };

    virtual ~UITabBarControllerDelegate() = default;
    /// True for the optional methods this delegate implements, as `respondsToSelector:` would
    /// answer. Derived by `AdoptsUITabBarControllerDelegate` from the methods the adopter overrides.
    [[nodiscard]] bool implements(Method method) const { return implementsOptional(method, Adoption{}); }

    /// `tabBarController:shouldSelectViewController:` (user taps only).
    virtual bool tabBarControllerShouldSelectViewController(const std::shared_ptr<UITabBarController>&,
                                                            const std::shared_ptr<UIViewController>&) {
        return true;
    }
    /// `tabBarController:didSelectViewController:` (user taps only, re-taps included).
    virtual void tabBarControllerDidSelectViewController(const std::shared_ptr<UITabBarController>&,
                                                         const std::shared_ptr<UIViewController>&) {}

  private:
    template <class Adopter>
    friend class AdoptsUITabBarControllerDelegate;
    // Only the adoption template can name this type, so only it can answer `implements`.
    struct Adoption {};
    [[nodiscard]] virtual bool implementsOptional(Method method, Adoption) const = 0;
};
