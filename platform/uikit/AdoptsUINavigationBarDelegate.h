#pragma once
// Adopting `UINavigationBarDelegate`: a class names itself as the adopter,
//
//     class Thing final : public NSObject, public AdoptsUINavigationBarDelegate<Thing> { ... };
//
// and overrides the optional methods it implements; `implements` then answers for exactly
// those (see ProtocolAdoption.h). The adopter must be final. Code it shares with other adopters
// may sit in a class between it and the protocol, deriving `public virtual UINavigationBarDelegate`:
// its overrides count as the adopter's.

#include "platform/uikit/ProtocolAdoption.h"
#include "platform/uikit/UINavigationBarDelegate.h"

#include <type_traits>

/// Adopts `UINavigationBarDelegate` for `Adopter`, answering `implements` from its overrides.
template <class Adopter>
class AdoptsUINavigationBarDelegate : public virtual UINavigationBarDelegate {
  private:
    [[nodiscard]] bool implementsOptional(Method method, Adoption) const final {
        static_assert(std::is_final_v<Adopter>,
                      "an adopter must be final: a subclass's own overrides would go unannounced");
        switch (method) {
        case Method::ShouldPushItem:
            return ui::overrides(&Adopter::navigationBarShouldPushItem,
                                 &UINavigationBarDelegate::navigationBarShouldPushItem);
        case Method::DidPushItem:
            return ui::overrides(&Adopter::navigationBarDidPushItem,
                                 &UINavigationBarDelegate::navigationBarDidPushItem);
        case Method::ShouldPopItem:
            return ui::overrides(&Adopter::navigationBarShouldPopItem,
                                 &UINavigationBarDelegate::navigationBarShouldPopItem);
        case Method::DidPopItem:
            return ui::overrides(&Adopter::navigationBarDidPopItem,
                                 &UINavigationBarDelegate::navigationBarDidPopItem);
        }
        return false;
    }
};
