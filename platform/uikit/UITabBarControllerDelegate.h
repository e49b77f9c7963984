#pragma once
// The tab bar controller's delegate protocol. Both methods are optional; `implements` says
// which ones the delegate has, as respondsToSelector: would.

#include <memory>

class UITabBarController;
class UIViewController;

/// `UITabBarControllerDelegate`.
class UITabBarControllerDelegate {
  public:
    enum class Method { ShouldSelectViewController, DidSelectViewController };

    virtual ~UITabBarControllerDelegate() = default;
    /// True for the optional methods this delegate implements.
    [[nodiscard]] virtual bool implements(Method method) const = 0;

    /// `tabBarController:shouldSelectViewController:` (user taps only).
    virtual bool tabBarControllerShouldSelectViewController(const std::shared_ptr<UITabBarController>&,
                                                            const std::shared_ptr<UIViewController>&) {
        return true;
    }
    /// `tabBarController:didSelectViewController:` (user taps only, re-taps included).
    virtual void tabBarControllerDidSelectViewController(const std::shared_ptr<UITabBarController>&,
                                                         const std::shared_ptr<UIViewController>&) {}
};
