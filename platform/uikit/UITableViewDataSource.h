#pragma once
// The table's data source protocol. The two required methods are pure; the optional ones have
// the platform's defaults, and `implements` says which optional ones the data source has, as
// respondsToSelector: would: the table only calls an optional method that is implemented, and
// it offers swipe-to-delete and reordering only when the matching methods are there. A class
// adopts the protocol through AdoptsUITableViewDataSource, which derives that answer from the
// methods the class overrides.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/UITableViewCell.h"

#include <memory>
#include <optional>
#include <string>

class NSIndexPath;
class UITableView;

/// `UITableViewDataSource`.
class UITableViewDataSource {
  public:
    /// The optional methods.
    enum class Method {
        NumberOfSections,
        TitleForHeaderInSection,
        CanEditRow,
        CanMoveRow,
        CommitEditingStyle,
        MoveRow,
    };

    virtual ~UITableViewDataSource() = default;
    /// True for the optional methods this data source implements, as `respondsToSelector:` would
    /// answer. Derived by `AdoptsUITableViewDataSource` from the methods the adopter overrides.
    [[nodiscard]] bool implements(Method method) const { return implementsOptional(method, Adoption{}); }

    /// `tableView:numberOfRowsInSection:` (required).
    virtual NSInteger tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>& tableView,
                                                     NSInteger section) = 0;
    /// `tableView:cellForRowAtIndexPath:` (required); nil raises in the table.
    virtual std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                   const std::shared_ptr<NSIndexPath>& indexPath) = 0;

    /// `numberOfSectionsInTableView:`; 1 when not implemented.
    virtual NSInteger numberOfSectionsInTableView(const std::shared_ptr<UITableView>&) { return 1; }
    /// `tableView:titleForHeaderInSection:`; nil shows no header in a plain table.
    virtual std::optional<std::string> tableViewTitleForHeaderInSection(const std::shared_ptr<UITableView>&,
                                                                        NSInteger) {
        return std::nullopt;
    }
    /// `tableView:canEditRowAtIndexPath:`; YES when not implemented.
    virtual bool tableViewCanEditRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                const std::shared_ptr<NSIndexPath>&) {
        return true;
    }
    /// `tableView:canMoveRowAtIndexPath:`; YES when not implemented (and the move is).
    virtual bool tableViewCanMoveRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                const std::shared_ptr<NSIndexPath>&) {
        return true;
    }
    /// `tableView:commitEditingStyle:forRowAtIndexPath:`: the user confirmed a delete (or an
    /// insert). The data source changes its model and deletes the row itself.
    virtual void tableViewCommitEditingStyleForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                              UITableViewCellEditingStyle,
                                                              const std::shared_ptr<NSIndexPath>&) {}
    /// `tableView:moveRowAtIndexPath:toIndexPath:`: the user dropped a row; the table has
    /// already moved it on screen.
    virtual void tableViewMoveRowAtIndexPathToIndexPath(const std::shared_ptr<UITableView>&,
                                                        const std::shared_ptr<NSIndexPath>&,
                                                        const std::shared_ptr<NSIndexPath>&) {}

  private:
    template <class Adopter>
    friend class AdoptsUITableViewDataSource;
    // Only the adoption template can name this type, so only it can answer `implements`.
    struct Adoption {};
    [[nodiscard]] virtual bool implementsOptional(Method method, Adoption) const = 0;
};
