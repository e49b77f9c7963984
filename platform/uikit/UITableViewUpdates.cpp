// Batch updates of UITableView: recording inserts, deletes, reloads and moves, and applying a
// batch at the outermost endUpdates.

#include "platform/uikit/UITableView.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSIndexSet.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/NSException.h"

#include <algorithm>

void UITableView::beginUpdates() {
    if (updateDepth_ == 0) {
        // The table must know its counts before the batch: that is what the batch is checked
        // against. A table that never loaded loads now.
        ensureLoaded();
        batch_ = PendingBatch{};
        batch_.before = counts_;
    }
    ++updateDepth_;
}

void UITableView::endUpdates() {
    if (updateDepth_ == 0) {
        throw NSException(NSInternalInconsistencyException,
                          "-[UITableView endUpdates] called without a matching beginUpdates");
    }
    --updateDepth_;
    if (updateDepth_ == 0) {
        applyBatch();
    }
}

void UITableView::recordSections(const std::shared_ptr<NSIndexSet>& sections, RowAnimation::Kind kind,
                                 UITableViewRowAnimation animation) {
    if (updateDepth_ == 0) {
        beginUpdates();
        recordSections(sections, kind, animation);
        endUpdates();
        return;
    }
    if (!sections) {
        return;
    }
    for (NSUInteger index : sections->indexes()) {
        auto section = static_cast<NSInteger>(index);
        switch (kind) {
        case RowAnimation::Kind::InsertSection:
            batch_.update.insertedSections.insert(section);
            break;
        case RowAnimation::Kind::DeleteSection:
            batch_.update.deletedSections.insert(section);
            break;
        default:
            batch_.update.reloadedSections.insert(section);
            break;
        }
        batch_.animations.push_back({kind, section, -1, animation, 0, 0});
    }
}

void UITableView::recordRows(const std::vector<std::shared_ptr<NSIndexPath>>& rows, RowAnimation::Kind kind,
                             UITableViewRowAnimation animation) {
    if (updateDepth_ == 0) {
        beginUpdates();
        recordRows(rows, kind, animation);
        endUpdates();
        return;
    }
    for (const auto& indexPath : rows) {
        auto row = rowOf(indexPath);
        if (!row) {
            continue;
        }
        switch (kind) {
        case RowAnimation::Kind::InsertRow:
            batch_.update.insertedRows.insert(*row);
            break;
        case RowAnimation::Kind::DeleteRow:
            batch_.update.deletedRows.insert(*row);
            break;
        default:
            batch_.update.reloadedRows.insert(*row);
            break;
        }
        batch_.animations.push_back({kind, row->section, row->row, animation, 0, 0});
    }
}

void UITableView::insertSectionsWithRowAnimation(const std::shared_ptr<NSIndexSet>& sections,
                                                 UITableViewRowAnimation animation) {
    recordSections(sections, RowAnimation::Kind::InsertSection, animation);
}

void UITableView::deleteSectionsWithRowAnimation(const std::shared_ptr<NSIndexSet>& sections,
                                                 UITableViewRowAnimation animation) {
    recordSections(sections, RowAnimation::Kind::DeleteSection, animation);
}

void UITableView::reloadSectionsWithRowAnimation(const std::shared_ptr<NSIndexSet>& sections,
                                                 UITableViewRowAnimation animation) {
    recordSections(sections, RowAnimation::Kind::ReloadSection, animation);
}

void UITableView::insertRowsAtIndexPathsWithRowAnimation(
    const std::vector<std::shared_ptr<NSIndexPath>>& indexPaths, UITableViewRowAnimation animation) {
    recordRows(indexPaths, RowAnimation::Kind::InsertRow, animation);
}

void UITableView::deleteRowsAtIndexPathsWithRowAnimation(
    const std::vector<std::shared_ptr<NSIndexPath>>& indexPaths, UITableViewRowAnimation animation) {
    recordRows(indexPaths, RowAnimation::Kind::DeleteRow, animation);
}

void UITableView::reloadRowsAtIndexPathsWithRowAnimation(
    const std::vector<std::shared_ptr<NSIndexPath>>& indexPaths, UITableViewRowAnimation animation) {
    recordRows(indexPaths, RowAnimation::Kind::ReloadRow, animation);
}

void UITableView::moveRowAtIndexPathToIndexPath(const std::shared_ptr<NSIndexPath>& from,
                                                const std::shared_ptr<NSIndexPath>& to) {
    if (updateDepth_ == 0) {
        beginUpdates();
        moveRowAtIndexPathToIndexPath(from, to);
        endUpdates();
        return;
    }
    auto source = rowOf(from);
    auto target = rowOf(to);
    if (source && target) {
        batch_.update.movedRows.emplace_back(*source, *target);
    }
}

void UITableView::applyBatch() {
    // Rows change under a held row: it is let go.
    endReorder();
    auto keep = me();
    PendingBatch batch = std::move(batch_);
    batch_ = PendingBatch{};

    // The data source is asked for every count now, and the batch checked against them.
    ui::RowCounts after = fetchCounts();
    ui::validateTableUpdate(batch.before, after, batch.update);
    ui::TableUpdateMap map(batch.before, after, batch.update);

    NSTimeInterval now = NSRunLoop::currentRunLoop().now();
    auto animationFor = [&batch](Row row) {
        for (const RowAnimation& a : batch.animations) {
            bool sectionWide =
                a.kind == RowAnimation::Kind::DeleteSection || a.kind == RowAnimation::Kind::ReloadSection;
            if ((sectionWide && a.section == row.section) ||
                (!sectionWide && a.section == row.section && a.row == row.row)) {
                return a.animation;
            }
        }
        return UITableViewRowAnimationFade;
    };

    // Cells follow their rows; cells of deleted and reloaded rows animate out, then are queued.
    std::map<Row, std::shared_ptr<UITableViewCell>> moved;
    for (auto& [row, cell] : visible_) {
        auto to = map.newRow(row);
        if (!to || map.isReloaded(row)) {
            UITableViewRowAnimation animation = animationFor(row);
            if (animation == UITableViewRowAnimationNone) {
                enqueue(cell);
            } else {
                dying_.push_back({cell, animation, now, now + kRowAnimationDuration});
            }
            continue;
        }
        moved[*to] = cell;
    }
    visible_ = std::move(moved);

    std::set<Row> selected;
    for (Row row : selected_) {
        auto to = map.newRow(row);
        if (to && !map.isReloaded(row)) {
            selected.insert(*to);
        }
    }
    selected_ = std::move(selected);
    // A Delete confirmation in editing mode goes away with its row.
    if (confirmRow_ && (!map.newRow(*confirmRow_) || map.isReloaded(*confirmRow_))) {
        confirmRow_.reset();
        confirmCell_.reset();
    } else if (confirmRow_) {
        confirmRow_ = map.newRow(*confirmRow_);
    }

    counts_ = std::move(after);
    geometryValid_ = false;
    rowAnimations_ = std::move(batch.animations);
    for (RowAnimation& a : rowAnimations_) {
        a.start = now;
        a.end = a.animation == UITableViewRowAnimationNone ? now : now + kRowAnimationDuration;
    }
    scheduleDyingCleanup();

    // The table lays out at once: cells of newly visible rows are asked for now.
    setNeedsLayout();
    layoutIfNeeded();
    notifyChange(Change::Model);
}

void UITableView::scheduleDyingCleanup() {
    if (dying_.empty()) {
        return;
    }
    std::weak_ptr<UITableView> weak = me();
    NSRunLoop::currentRunLoop().scheduleStep(kRowAnimationDuration, "UITableView row animation end", me(),
                                             [weak] {
                                                 auto table = weak.lock();
                                                 if (!table) {
                                                     return;
                                                 }
                                                 NSTimeInterval now = NSRunLoop::currentRunLoop().now();
                                                 std::vector<DyingCell> still;
                                                 for (auto& dying : table->dying_) {
                                                     if (dying.end <= now) {
                                                         table->enqueue(dying.cell);
                                                     } else {
                                                         still.push_back(dying);
                                                     }
                                                 }
                                                 table->dying_ = std::move(still);
                                             });
}
