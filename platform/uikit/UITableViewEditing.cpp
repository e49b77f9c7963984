// Editing, swipe-to-delete, moving rows, selection and the user's gestures on a UITableView.

#include "platform/uikit/UITableView.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"

#include <algorithm>

// ---- Editing mode --------------------------------------------------------------------------

void UITableView::configureEditingControls(Row row, const std::shared_ptr<UITableViewCell>& cell) {
    if (!editing_ || swipeRow_) {
        cell->setEditingControls(UITableViewCellEditingStyleNone, false);
        return;
    }
    auto source = dataSource_.lock();
    auto delegate = delegate_.lock();
    auto table = me();
    auto indexPath = path(row);
    // Asked in the platform's order, each only when implemented.
    bool canEdit = !source || !source->implements(UITableViewDataSource::Method::CanEditRow) ||
                   source->tableViewCanEditRowAtIndexPath(table, indexPath);
    UITableViewCellEditingStyle style = UITableViewCellEditingStyleNone;
    if (canEdit) {
        style = delegate && delegate->implements(UITableViewDelegate::Method::EditingStyleForRow)
                    ? delegate->tableViewEditingStyleForRowAtIndexPath(table, indexPath)
                    : UITableViewCellEditingStyleDelete;
    }
    if (delegate && delegate->implements(UITableViewDelegate::Method::ShouldIndentWhileEditingRow)) {
        cell->setShouldIndentWhileEditing(
            delegate->tableViewShouldIndentWhileEditingRowAtIndexPath(table, indexPath));
    }
    // The reorder grabber shows only when the data source can take the move.
    bool reorder = canEdit && source && source->implements(UITableViewDataSource::Method::MoveRow) &&
                   (!source->implements(UITableViewDataSource::Method::CanMoveRow) ||
                    source->tableViewCanMoveRowAtIndexPath(table, indexPath));
    cell->setEditingControls(style, reorder);
}

void UITableView::setEditingAnimated(bool editing, bool animated) {
    auto keep = me();
    if (swipeRow_) {
        endSwipe();
    }
    confirmRow_.reset();
    if (confirmCell_) {
        confirmCell_->setShowingDeleteConfirmation(false);
        confirmCell_.reset();
    }
    editing_ = editing;
    const NSTimeInterval now = NSRunLoop::currentRunLoop().now();
    editingTransition_ = {editing, now, animated ? now + kRowAnimationDuration : now};
    // The cells hear of the change first; then each row's controls are asked for.
    auto cells = visible_;
    for (auto& [row, cell] : cells) {
        rt::send(cell, msg::setEditingAnimated, editing, animated);
    }
    for (auto& [row, cell] : cells) {
        configureEditingControls(row, cell);
    }
}

std::shared_ptr<NSIndexPath> UITableView::swipedRow() const {
    return swipeRow_ ? path(*swipeRow_) : nullptr;
}

std::shared_ptr<NSIndexPath> UITableView::deleteConfirmationRow() const {
    return confirmRow_ ? path(*confirmRow_) : nullptr;
}

// ---- Swipe to delete -----------------------------------------------------------------------

bool UITableView::simulateSwipeOnRow(const std::shared_ptr<NSIndexPath>& indexPath) {
    auto keep = me();
    if (swipeRow_) {
        // The first gesture only puts the shown Delete button away.
        endSwipe();
        return true;
    }
    auto row = rowOf(indexPath);
    if (!row || editing_) {
        return false;
    }
    auto cell = cellAt(*row);
    auto source = dataSource_.lock();
    if (!cell || !source || !source->implements(UITableViewDataSource::Method::CommitEditingStyle)) {
        return false;
    }
    auto delegate = delegate_.lock();
    if (source->implements(UITableViewDataSource::Method::CanEditRow) &&
        !source->tableViewCanEditRowAtIndexPath(keep, path(*row))) {
        return false;
    }
    UITableViewCellEditingStyle style =
        delegate && delegate->implements(UITableViewDelegate::Method::EditingStyleForRow)
            ? delegate->tableViewEditingStyleForRowAtIndexPath(keep, path(*row))
            : UITableViewCellEditingStyleDelete;
    if (style != UITableViewCellEditingStyleDelete) {
        return false;
    }
    if (delegate && delegate->implements(UITableViewDelegate::Method::WillBeginEditingRow)) {
        delegate->tableViewWillBeginEditingRowAtIndexPath(keep, path(*row));
    }
    editing_ = true;
    swipeRow_ = *row;
    swipeCell_ = cell;
    cell->setShowingDeleteConfirmation(true);
    return true;
}

void UITableView::endSwipe() {
    if (!swipeRow_) {
        return;
    }
    auto keep = me();
    Row row = *swipeRow_;
    swipeRow_.reset();
    if (swipeCell_) {
        swipeCell_->setShowingDeleteConfirmation(false);
        swipeCell_.reset();
    }
    editing_ = false;
    auto delegate = delegate_.lock();
    if (delegate && delegate->implements(UITableViewDelegate::Method::DidEndEditingRow)) {
        delegate->tableViewDidEndEditingRowAtIndexPath(keep, path(row));
    }
}

bool UITableView::simulateTapDeleteConfirmation() {
    auto keep = me();
    auto source = dataSource_.lock();
    if (swipeRow_) {
        Row row = *swipeRow_;
        if (source && source->implements(UITableViewDataSource::Method::CommitEditingStyle)) {
            source->tableViewCommitEditingStyleForRowAtIndexPath(keep, UITableViewCellEditingStyleDelete,
                                                                 path(row));
        }
        endSwipe();
        return true;
    }
    if (confirmRow_) {
        Row row = *confirmRow_;
        confirmRow_.reset();
        if (confirmCell_) {
            confirmCell_->setShowingDeleteConfirmation(false);
            confirmCell_.reset();
        }
        if (source && source->implements(UITableViewDataSource::Method::CommitEditingStyle)) {
            source->tableViewCommitEditingStyleForRowAtIndexPath(keep, UITableViewCellEditingStyleDelete,
                                                                 path(row));
        }
        return true;
    }
    return false;
}

bool UITableView::simulateTapOutside() {
    if (swipeRow_) {
        endSwipe();
        return true;
    }
    if (confirmRow_) {
        confirmRow_.reset();
        if (confirmCell_) {
            confirmCell_->setShowingDeleteConfirmation(false);
            confirmCell_.reset();
        }
        return true;
    }
    return false;
}

bool UITableView::simulateTapEditingControl(const std::shared_ptr<NSIndexPath>& indexPath) {
    auto keep = me();
    auto row = rowOf(indexPath);
    if (!editing_ || swipeRow_ || !row) {
        return false;
    }
    auto cell = cellAt(*row);
    if (!cell) {
        return false;
    }
    switch (cell->editingStyle()) {
    case UITableViewCellEditingStyleDelete:
        if (confirmCell_) {
            confirmCell_->setShowingDeleteConfirmation(false);
        }
        confirmRow_ = *row;
        confirmCell_ = cell;
        cell->setShowingDeleteConfirmation(true);
        return true;
    case UITableViewCellEditingStyleInsert:
        if (auto source = dataSource_.lock();
            source && source->implements(UITableViewDataSource::Method::CommitEditingStyle)) {
            source->tableViewCommitEditingStyleForRowAtIndexPath(keep, UITableViewCellEditingStyleInsert,
                                                                 path(*row));
        }
        return true;
    default:
        return false;
    }
}

// ---- Moving rows ---------------------------------------------------------------------------

bool UITableView::simulateDrag(const std::shared_ptr<NSIndexPath>& from,
                               const std::shared_ptr<NSIndexPath>& to) {
    auto keep = me();
    // A held row is let go here, wherever it lands.
    simulateReorderCancel();
    auto source = rowOf(from);
    auto proposed = rowOf(to);
    if (!editing_ || swipeRow_ || !source || !proposed) {
        return false;
    }
    auto cell = cellAt(*source);
    if (!cell || !cell->showsReorderControl()) {
        return false;
    }
    ensureGeometry();
    // The destination is the row's place in the table after the move: within its own section
    // the last place is the last row; in another section one past its last row.
    auto validTarget = [this](Row fromRow, Row target) {
        if (target.section < 0 || static_cast<std::size_t>(target.section) >= counts_.size() ||
            target.row < 0) {
            return false;
        }
        NSInteger rows = counts_[static_cast<std::size_t>(target.section)];
        return target.section == fromRow.section ? target.row < rows : target.row <= rows;
    };
    if (!validTarget(*source, *proposed)) {
        return false;
    }
    Row target = *proposed;
    auto delegate = delegate_.lock();
    if (delegate && delegate->implements(UITableViewDelegate::Method::TargetIndexPathForMove)) {
        auto retarget = rowOf(delegate->tableViewTargetIndexPathForMoveFromRowAtIndexPathToProposedIndexPath(
            keep, path(*source), path(*proposed)));
        if (retarget && validTarget(*source, *retarget)) {
            target = *retarget;
        }
    }

    // The row moves on screen first: the table's own counts, heights, cells and selection
    // follow the move, and the data source is not asked anything.
    auto moveIndex = [&](Row r) -> Row {
        if (r == *source) {
            return target;
        }
        Row out = r;
        if (out.section == source->section && out.row > source->row) {
            --out.row;
        }
        if (out.section == target.section && out.row >= target.row) {
            ++out.row;
        }
        return out;
    };
    auto& fromGeometry = geometry_[static_cast<std::size_t>(source->section)];
    CGFloat height = fromGeometry.rowHeights[static_cast<std::size_t>(source->row)];
    fromGeometry.rowHeights.erase(fromGeometry.rowHeights.begin() + source->row);
    auto& toGeometry = geometry_[static_cast<std::size_t>(target.section)];
    toGeometry.rowHeights.insert(toGeometry.rowHeights.begin() + target.row, height);
    --counts_[static_cast<std::size_t>(source->section)];
    ++counts_[static_cast<std::size_t>(target.section)];
    // Re-stack the rows with the kept heights.
    CGFloat y = tableHeaderView_ ? tableHeaderView_->frame().size.height : 0;
    for (auto& g : geometry_) {
        g.top = y;
        y += g.headerHeight;
        g.rowTops.clear();
        for (CGFloat h : g.rowHeights) {
            g.rowTops.push_back(y);
            y += h;
        }
        g.bottom = y;
    }
    contentHeight_ = y + (tableFooterView_ ? tableFooterView_->frame().size.height : 0);

    std::map<Row, std::shared_ptr<UITableViewCell>> cells;
    for (auto& [row, shown] : visible_) {
        cells[moveIndex(row)] = shown;
    }
    visible_ = std::move(cells);
    std::set<Row> selected;
    for (Row row : selected_) {
        selected.insert(moveIndex(row));
    }
    selected_ = std::move(selected);
    for (auto& [row, shown] : visible_) {
        shown->setFrame(rectOf(row));
    }
    setNeedsLayout();

    if (auto dataSource = dataSource_.lock();
        dataSource && dataSource->implements(UITableViewDataSource::Method::MoveRow)) {
        dataSource->tableViewMoveRowAtIndexPathToIndexPath(keep, path(*source), path(target));
    }
    notifyChange(Change::Model);
    return true;
}

bool UITableView::simulateReorderHover(const std::shared_ptr<NSIndexPath>& from,
                                       const std::shared_ptr<NSIndexPath>& to, CGFloat liftedTop) {
    auto source = rowOf(from);
    auto target = rowOf(to);
    if (!editing_ || swipeRow_ || !source || !target || !rowExists(*source) ||
        static_cast<std::size_t>(target->section) >= counts_.size()) {
        return false;
    }
    auto cell = cellAt(*source);
    if ((!cell || !cell->showsReorderControl()) && !(reorder_ && reorder_->from == *source)) {
        return false;
    }
    if (reorder_ && reorder_->from == *source) {
        reorder_->to = *target;
        reorder_->top = liftedTop;
    } else {
        endReorder();
        reorder_ = Reorder{*source, *target, liftedTop, cell, cell->alpha()};
        cell->setAlpha(kLiftedRowAlpha);
    }
    setNeedsLayout();
    return true;
}

void UITableView::simulateReorderCancel() {
    if (reorder_) {
        endReorder();
        setNeedsLayout();
    }
}

void UITableView::endReorder() {
    if (reorder_ && reorder_->cell) {
        reorder_->cell->setAlpha(reorder_->alpha);
    }
    reorder_.reset();
}

std::shared_ptr<NSIndexPath> UITableView::reorderingRow() const {
    return reorder_ ? path(reorder_->from) : nullptr;
}

void UITableView::simulateScroll(CGPoint offset) {
    simulateTapOutside();
    setContentOffset(offset);
}

// ---- Selection -----------------------------------------------------------------------------

std::shared_ptr<NSIndexPath> UITableView::indexPathForSelectedRow() const {
    return selected_.empty() ? nullptr : path(*selected_.begin());
}

std::vector<std::shared_ptr<NSIndexPath>> UITableView::indexPathsForSelectedRows() const {
    std::vector<std::shared_ptr<NSIndexPath>> out;
    for (Row row : selected_) {
        out.push_back(path(row));
    }
    return out;
}

void UITableView::selectRowAtIndexPathAnimatedScrollPosition(const std::shared_ptr<NSIndexPath>& indexPath,
                                                             bool animated,
                                                             UITableViewScrollPosition position) {
    auto row = rowOf(indexPath);
    if (!row) {
        return;
    }
    if (!allowsMultipleSelection_) {
        for (Row other : std::set<Row>(selected_)) {
            if (other != *row) {
                deselectRowAtIndexPathAnimated(path(other), animated);
            }
        }
    }
    selected_.insert(*row);
    if (auto cell = cellAt(*row)) {
        rt::send(cell, msg::setSelectedAnimated, true, animated);
    }
    if (position != UITableViewScrollPositionNone) {
        scrollToRowAtIndexPathAtScrollPositionAnimated(indexPath, position, animated);
    }
}

void UITableView::deselectRowAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath,
                                                 bool animated) {
    auto row = rowOf(indexPath);
    if (!row) {
        return;
    }
    selected_.erase(*row);
    if (auto cell = cellAt(*row)) {
        rt::send(cell, msg::setSelectedAnimated, false, animated);
    }
}

bool UITableView::simulateTapOnRow(const std::shared_ptr<NSIndexPath>& indexPath) {
    auto keep = me();
    if (swipeRow_ || confirmRow_) {
        // A tap while a Delete button shows only puts it away.
        simulateTapOutside();
        return true;
    }
    auto row = rowOf(indexPath);
    if (!row) {
        return false;
    }
    auto cell = cellAt(*row);
    if (!cell) {
        return false;
    }
    bool allowed = editing_ ? allowsSelectionDuringEditing_ : allowsSelection_;
    if (!allowed) {
        return true;
    }
    rt::send(cell, msg::setHighlightedAnimated, true, false);
    auto delegate = delegate_.lock();
    std::shared_ptr<NSIndexPath> target = path(*row);
    if (delegate && delegate->implements(UITableViewDelegate::Method::WillSelectRow)) {
        target = delegate->tableViewWillSelectRowAtIndexPath(keep, target);
    }
    auto targetRow = rowOf(target);
    if (!targetRow) {
        rt::send(cell, msg::setHighlightedAnimated, false, false);
        return true;
    }
    if (!allowsMultipleSelection_) {
        for (Row other : std::set<Row>(selected_)) {
            if (other == *targetRow) {
                continue;
            }
            selected_.erase(other);
            if (auto otherCell = cellAt(other)) {
                rt::send(otherCell, msg::setSelectedAnimated, false, false);
            }
            if (delegate && delegate->implements(UITableViewDelegate::Method::DidDeselectRow)) {
                delegate->tableViewDidDeselectRowAtIndexPath(keep, path(other));
            }
        }
    }
    selected_.insert(*targetRow);
    if (auto targetCell = cellAt(*targetRow)) {
        rt::send(targetCell, msg::setSelectedAnimated, true, false);
    }
    rt::send(cell, msg::setHighlightedAnimated, false, false);
    if (delegate && delegate->implements(UITableViewDelegate::Method::DidSelectRow)) {
        delegate->tableViewDidSelectRowAtIndexPath(keep, target);
    }
    return true;
}
