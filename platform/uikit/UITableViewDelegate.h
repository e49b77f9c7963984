#pragma once
// The table's delegate protocol (with the scroll view delegate methods the table sends). Every
// method is optional; `implements` says which ones the delegate has, derived by
// AdoptsUITableViewDelegate from the methods the adopter overrides.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/UITableViewCell.h"

#include <memory>

class NSIndexPath;
class UITableView;

/// `UITableViewDelegate`.
class UITableViewDelegate {
  public:
    /// The optional methods.
    enum class Method {
        HeightForRow,
        HeightForHeaderInSection,
        WillDisplayCell,
        WillSelectRow,
        DidSelectRow,
        DidDeselectRow,
        EditingStyleForRow,
        ShouldIndentWhileEditingRow,
        WillBeginEditingRow,
        DidEndEditingRow,
        TargetIndexPathForMove,
        ScrollViewDidScroll,
        ScrollViewDidEndScrollingAnimation,
    };

    using TableRef = const std::shared_ptr<UITableView>&;
    using PathRef = const std::shared_ptr<NSIndexPath>&;

    virtual ~UITableViewDelegate() = default;
    /// True for the optional methods this delegate implements, as `respondsToSelector:` would
    /// answer. Derived by `AdoptsUITableViewDelegate` from the methods the adopter overrides.
    [[nodiscard]] bool implements(Method method) const { return implementsOptional(method, Adoption{}); }

    /// `tableView:heightForRowAtIndexPath:`.
    virtual CGFloat tableViewHeightForRowAtIndexPath(TableRef, PathRef) { return 44; }
    /// `tableView:heightForHeaderInSection:`.
    virtual CGFloat tableViewHeightForHeaderInSection(TableRef, NSInteger) { return 0; }
    /// `tableView:willDisplayCell:forRowAtIndexPath:`, right after the cell was asked for.
    virtual void tableViewWillDisplayCellForRowAtIndexPath(TableRef, const std::shared_ptr<UITableViewCell>&,
                                                           PathRef) {}
    /// `tableView:willSelectRowAtIndexPath:`: may return another path, or nil to refuse.
    virtual std::shared_ptr<NSIndexPath> tableViewWillSelectRowAtIndexPath(TableRef, PathRef indexPath) {
        return indexPath;
    }
    /// `tableView:didSelectRowAtIndexPath:` (user taps only).
    virtual void tableViewDidSelectRowAtIndexPath(TableRef, PathRef) {}
    /// `tableView:didDeselectRowAtIndexPath:` (user taps only).
    virtual void tableViewDidDeselectRowAtIndexPath(TableRef, PathRef) {}
    /// `tableView:editingStyleForRowAtIndexPath:`; Delete when not implemented.
    virtual UITableViewCellEditingStyle tableViewEditingStyleForRowAtIndexPath(TableRef, PathRef) {
        return UITableViewCellEditingStyleDelete;
    }
    /// `tableView:shouldIndentWhileEditingRowAtIndexPath:`.
    virtual bool tableViewShouldIndentWhileEditingRowAtIndexPath(TableRef, PathRef) { return true; }
    /// `tableView:willBeginEditingRowAtIndexPath:`: a swipe shows the row's Delete button.
    virtual void tableViewWillBeginEditingRowAtIndexPath(TableRef, PathRef) {}
    /// `tableView:didEndEditingRowAtIndexPath:`: the swiped row's Delete button went away.
    virtual void tableViewDidEndEditingRowAtIndexPath(TableRef, PathRef) {}
    /// `tableView:targetIndexPathForMoveFromRowAtIndexPath:toProposedIndexPath:`.
    virtual std::shared_ptr<NSIndexPath>
    tableViewTargetIndexPathForMoveFromRowAtIndexPathToProposedIndexPath(TableRef, PathRef,
                                                                         PathRef proposed) {
        return proposed;
    }
    /// `scrollViewDidScroll:`.
    virtual void scrollViewDidScroll(TableRef) {}
    /// `scrollViewDidEndScrollingAnimation:`.
    virtual void scrollViewDidEndScrollingAnimation(TableRef) {}

  private:
    template <class Adopter>
    friend class AdoptsUITableViewDelegate;
    // Only the adoption template can name this type, so only it can answer `implements`.
    struct Adoption {};
    [[nodiscard]] virtual bool implementsOptional(Method method, Adoption) const = 0;
};
