#pragma once
// The alert delegate protocol. Every method is optional; `implements` says which ones the
// delegate has, as respondsToSelector: would, derived by AdoptsUIAlertViewDelegate from the
// methods the adopter overrides.

#include "platform/foundation/NSObjCRuntime.h"

#include <memory>

class UIAlertView;

/// `UIAlertViewDelegate`.
class UIAlertViewDelegate {
  public:
    enum class Method {
        ClickedButtonAtIndex,
        WillPresentAlertView,
        DidPresentAlertView,
        WillDismissWithButtonIndex,
        DidDismissWithButtonIndex,
    };

    virtual ~UIAlertViewDelegate() = default;
    /// True for the optional methods this delegate implements, as `respondsToSelector:` would
    /// answer. Derived by `AdoptsUIAlertViewDelegate` from the methods the adopter overrides.
    [[nodiscard]] bool implements(Method method) const { return implementsOptional(method, Adoption{}); }

    /// `alertView:clickedButtonAtIndex:` (user taps only).
    virtual void alertViewClickedButtonAtIndex(const std::shared_ptr<UIAlertView>&, NSInteger) {}
    /// `willPresentAlertView:`, before the appear animation.
    virtual void willPresentAlertView(const std::shared_ptr<UIAlertView>&) {}
    /// `didPresentAlertView:`, after it.
    virtual void didPresentAlertView(const std::shared_ptr<UIAlertView>&) {}
    /// `alertView:willDismissWithButtonIndex:`, before the dismiss animation.
    virtual void alertViewWillDismissWithButtonIndex(const std::shared_ptr<UIAlertView>&, NSInteger) {}
    /// `alertView:didDismissWithButtonIndex:`, after it, with the alert gone from the screen.
    virtual void alertViewDidDismissWithButtonIndex(const std::shared_ptr<UIAlertView>&, NSInteger) {}

  private:
    template <class Adopter>
    friend class AdoptsUIAlertViewDelegate;
    // Only the adoption template can name this type, so only it can answer `implements`.
    struct Adoption {};
    [[nodiscard]] virtual bool implementsOptional(Method method, Adoption) const = 0;
};
