#pragma once
// Adopting `UITextFieldDelegate`: a class names itself as the adopter,
//
//     class Thing final : public NSObject, public AdoptsUITextFieldDelegate<Thing> { ... };
//
// and overrides the optional methods it implements; `implements` then answers for exactly
// those (see ProtocolAdoption.h). The adopter must be final. Code it shares with other adopters
// may sit in a class between it and the protocol, deriving `public virtual UITextFieldDelegate`:
// its overrides count as the adopter's.

#include "platform/uikit/ProtocolAdoption.h"
#include "platform/uikit/UITextFieldDelegate.h"

#include <type_traits>

/// Adopts `UITextFieldDelegate` for `Adopter`, answering `implements` from its overrides.
template <class Adopter>
class AdoptsUITextFieldDelegate : public virtual UITextFieldDelegate {
  private:
    [[nodiscard]] bool implementsOptional(Method method, Adoption) const final {
        static_assert(std::is_final_v<Adopter>,
                      "an adopter must be final: a subclass's own overrides would go unannounced");
        switch (method) {
        case Method::ShouldBeginEditing:
            return ui::overrides(&Adopter::textFieldShouldBeginEditing,
                                 &UITextFieldDelegate::textFieldShouldBeginEditing);
        case Method::DidBeginEditing:
            return ui::overrides(&Adopter::textFieldDidBeginEditing,
                                 &UITextFieldDelegate::textFieldDidBeginEditing);
        case Method::DidEndEditing:
            return ui::overrides(&Adopter::textFieldDidEndEditing,
                                 &UITextFieldDelegate::textFieldDidEndEditing);
        case Method::ShouldReturn:
            return ui::overrides(&Adopter::textFieldShouldReturn,
                                 &UITextFieldDelegate::textFieldShouldReturn);
        }
        return false;
    }
};
