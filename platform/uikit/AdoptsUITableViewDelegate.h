#pragma once
// Adopting `UITableViewDelegate`: a class names itself as the adopter,
//
//     class Thing final : public NSObject, public AdoptsUITableViewDelegate<Thing> { ... };
//
// and overrides the optional methods it implements; `implements` then answers for exactly
// those (see ProtocolAdoption.h). The adopter must be final. Code it shares with other adopters
// may sit in a class between it and the protocol, deriving `public virtual UITableViewDelegate`:
// its overrides count as the adopter's.

#include "platform/uikit/ProtocolAdoption.h"
#include "platform/uikit/UITableViewDelegate.h"

#include <type_traits>

/// Adopts `UITableViewDelegate` for `Adopter`, answering `implements` from its overrides.
template <class Adopter>
class AdoptsUITableViewDelegate : public virtual UITableViewDelegate {
  private:
    [[nodiscard]] bool implementsOptional(Method method, Adoption) const final {
        static_assert(std::is_final_v<Adopter>,
                      "an adopter must be final: a subclass's own overrides would go unannounced");
        switch (method) {
        case Method::HeightForRow:
            return ui::overrides(&Adopter::tableViewHeightForRowAtIndexPath,
                                 &UITableViewDelegate::tableViewHeightForRowAtIndexPath);
        case Method::HeightForHeaderInSection:
            return ui::overrides(&Adopter::tableViewHeightForHeaderInSection,
                                 &UITableViewDelegate::tableViewHeightForHeaderInSection);
        case Method::WillDisplayCell:
            return ui::overrides(&Adopter::tableViewWillDisplayCellForRowAtIndexPath,
                                 &UITableViewDelegate::tableViewWillDisplayCellForRowAtIndexPath);
        case Method::WillSelectRow:
            return ui::overrides(&Adopter::tableViewWillSelectRowAtIndexPath,
                                 &UITableViewDelegate::tableViewWillSelectRowAtIndexPath);
        case Method::DidSelectRow:
            return ui::overrides(&Adopter::tableViewDidSelectRowAtIndexPath,
                                 &UITableViewDelegate::tableViewDidSelectRowAtIndexPath);
        case Method::DidDeselectRow:
            return ui::overrides(&Adopter::tableViewDidDeselectRowAtIndexPath,
                                 &UITableViewDelegate::tableViewDidDeselectRowAtIndexPath);
        case Method::EditingStyleForRow:
            return ui::overrides(&Adopter::tableViewEditingStyleForRowAtIndexPath,
                                 &UITableViewDelegate::tableViewEditingStyleForRowAtIndexPath);
        case Method::ShouldIndentWhileEditingRow:
            return ui::overrides(&Adopter::tableViewShouldIndentWhileEditingRowAtIndexPath,
                                 &UITableViewDelegate::tableViewShouldIndentWhileEditingRowAtIndexPath);
        case Method::WillBeginEditingRow:
            return ui::overrides(&Adopter::tableViewWillBeginEditingRowAtIndexPath,
                                 &UITableViewDelegate::tableViewWillBeginEditingRowAtIndexPath);
        case Method::DidEndEditingRow:
            return ui::overrides(&Adopter::tableViewDidEndEditingRowAtIndexPath,
                                 &UITableViewDelegate::tableViewDidEndEditingRowAtIndexPath);
        case Method::TargetIndexPathForMove:
            return ui::overrides(
                &Adopter::tableViewTargetIndexPathForMoveFromRowAtIndexPathToProposedIndexPath,
                &UITableViewDelegate::tableViewTargetIndexPathForMoveFromRowAtIndexPathToProposedIndexPath);
        case Method::ScrollViewDidScroll:
            return ui::overrides(&Adopter::scrollViewDidScroll, &UITableViewDelegate::scrollViewDidScroll);
        case Method::ScrollViewDidEndScrollingAnimation:
            return ui::overrides(&Adopter::scrollViewDidEndScrollingAnimation,
                                 &UITableViewDelegate::scrollViewDidEndScrollingAnimation);
        }
        return false;
    }
};
