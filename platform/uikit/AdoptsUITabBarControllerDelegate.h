#pragma once
// Adopting `UITabBarControllerDelegate`: a class names itself as the adopter,
//
//     class Thing final : public NSObject, public AdoptsUITabBarControllerDelegate<Thing> { ... };
//
// and overrides the optional methods it implements; `implements` then answers for exactly
// those (see ProtocolAdoption.h). The adopter must be final. Code it shares with other adopters
// may sit in a class between it and the protocol, deriving `public virtual UITabBarControllerDelegate`:
// its overrides count as the adopter's.

#include "platform/uikit/ProtocolAdoption.h"
#include "platform/uikit/UITabBarControllerDelegate.h"

#include <type_traits>

/// Adopts `UITabBarControllerDelegate` for `Adopter`, answering `implements` from its overrides.
template <class Adopter>
class AdoptsUITabBarControllerDelegate : public virtual UITabBarControllerDelegate {
  private:
    [[nodiscard]] bool implementsOptional(Method method, Adoption) const final {
        static_assert(std::is_final_v<Adopter>,
                      "an adopter must be final: a subclass's own overrides would go unannounced");
        switch (method) {
        case Method::ShouldSelectViewController:
            return ui::overrides(&Adopter::tabBarControllerShouldSelectViewController,
                                 &UITabBarControllerDelegate::tabBarControllerShouldSelectViewController);
        case Method::DidSelectViewController:
            return ui::overrides(&Adopter::tabBarControllerDidSelectViewController,
                                 &UITabBarControllerDelegate::tabBarControllerDidSelectViewController);
        }
        return false;
    }
};
