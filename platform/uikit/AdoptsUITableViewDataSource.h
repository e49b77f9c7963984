#pragma once
// Adopting `UITableViewDataSource`: a class names itself as the adopter,
//
//     class Thing final : public NSObject, public AdoptsUITableViewDataSource<Thing> { ... };
//
// and overrides the optional methods it implements; `implements` then answers for exactly
// those (see ProtocolAdoption.h). The adopter must be final. Code it shares with other adopters
// may sit in a class between it and the protocol, deriving `public virtual UITableViewDataSource`:
// its overrides count as the adopter's.

#include "platform/uikit/ProtocolAdoption.h"
#include "platform/uikit/UITableViewDataSource.h"

#include <type_traits>

/// Adopts `UITableViewDataSource` for `Adopter`, answering `implements` from its overrides.
template <class Adopter>
class AdoptsUITableViewDataSource : public virtual UITableViewDataSource {
  private:
    [[nodiscard]] bool implementsOptional(Method method, Adoption) const final {
        static_assert(std::is_final_v<Adopter>,
                      "an adopter must be final: a subclass's own overrides would go unannounced");
        switch (method) {
        case Method::NumberOfSections:
            return ui::overrides(&Adopter::numberOfSectionsInTableView,
                                 &UITableViewDataSource::numberOfSectionsInTableView);
        case Method::TitleForHeaderInSection:
            return ui::overrides(&Adopter::tableViewTitleForHeaderInSection,
                                 &UITableViewDataSource::tableViewTitleForHeaderInSection);
        case Method::CanEditRow:
            return ui::overrides(&Adopter::tableViewCanEditRowAtIndexPath,
                                 &UITableViewDataSource::tableViewCanEditRowAtIndexPath);
        case Method::CanMoveRow:
            return ui::overrides(&Adopter::tableViewCanMoveRowAtIndexPath,
                                 &UITableViewDataSource::tableViewCanMoveRowAtIndexPath);
        case Method::CommitEditingStyle:
            return ui::overrides(&Adopter::tableViewCommitEditingStyleForRowAtIndexPath,
                                 &UITableViewDataSource::tableViewCommitEditingStyleForRowAtIndexPath);
        case Method::MoveRow:
            return ui::overrides(&Adopter::tableViewMoveRowAtIndexPathToIndexPath,
                                 &UITableViewDataSource::tableViewMoveRowAtIndexPathToIndexPath);
        }
        return false;
    }
};
