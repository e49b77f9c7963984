#pragma once
// Adopting `UIAlertViewDelegate`: a class names itself as the adopter,
//
//     class Thing final : public NSObject, public AdoptsUIAlertViewDelegate<Thing> { ... };
//
// and overrides the optional methods it implements; `implements` then answers for exactly
// those (see ProtocolAdoption.h). The adopter must be final. Code it shares with other adopters
// may sit in a class between it and the protocol, deriving `public virtual UIAlertViewDelegate`:
// its overrides count as the adopter's.

#include "platform/uikit/ProtocolAdoption.h"
#include "platform/uikit/UIAlertViewDelegate.h"

#include <type_traits>

/// Adopts `UIAlertViewDelegate` for `Adopter`, answering `implements` from its overrides.
template <class Adopter>
class AdoptsUIAlertViewDelegate : public virtual UIAlertViewDelegate {
  private:
    [[nodiscard]] bool implementsOptional(Method method, Adoption) const final {
        static_assert(std::is_final_v<Adopter>,
                      "an adopter must be final: a subclass's own overrides would go unannounced");
        switch (method) {
        case Method::ClickedButtonAtIndex:
            return ui::overrides(&Adopter::alertViewClickedButtonAtIndex,
                                 &UIAlertViewDelegate::alertViewClickedButtonAtIndex);
        case Method::WillPresentAlertView:
            return ui::overrides(&Adopter::willPresentAlertView, &UIAlertViewDelegate::willPresentAlertView);
        case Method::DidPresentAlertView:
            return ui::overrides(&Adopter::didPresentAlertView, &UIAlertViewDelegate::didPresentAlertView);
        case Method::WillDismissWithButtonIndex:
            return ui::overrides(&Adopter::alertViewWillDismissWithButtonIndex,
                                 &UIAlertViewDelegate::alertViewWillDismissWithButtonIndex);
        case Method::DidDismissWithButtonIndex:
            return ui::overrides(&Adopter::alertViewDidDismissWithButtonIndex,
                                 &UIAlertViewDelegate::alertViewDidDismissWithButtonIndex);
        }
        return false;
    }
};
