#pragma once
// One batch of table changes (the calls between the outermost beginUpdates and endUpdates),
// its validation against the row counts before and after, and where each row of the old table
// ends up. Deletions and reloads name rows of the table before the batch; insertions name rows
// of the table after it; moves go from a row before to a row after.

#include "platform/foundation/NSObjCRuntime.h"

#include <compare>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace ui {

/// A (section, row) pair, the table's own index.
struct RowIndex {
    NSInteger section = 0;
    NSInteger row = 0;
    friend auto operator<=>(const RowIndex&, const RowIndex&) = default;
};

/// The recorded changes of one batch.
struct TableUpdate {
    std::set<NSInteger> deletedSections;
    std::set<NSInteger> insertedSections;
    std::set<NSInteger> reloadedSections;
    std::set<RowIndex> deletedRows;
    std::set<RowIndex> insertedRows;
    std::set<RowIndex> reloadedRows;
    std::vector<std::pair<RowIndex, RowIndex>> movedRows;

    [[nodiscard]] bool empty() const {
        return deletedSections.empty() && insertedSections.empty() && reloadedSections.empty() &&
               deletedRows.empty() && insertedRows.empty() && reloadedRows.empty() && movedRows.empty();
    }
};

/// Row counts per section.
using RowCounts = std::vector<NSInteger>;

/// Checks a batch as the platform does at the outermost endUpdates: first that every index
/// exists in the table it refers to, then that the number of sections after equals the number
/// before plus inserted minus deleted, then, for every section present before and after, that
/// its rows after equal its rows before plus inserted minus deleted plus moved in minus moved
/// out. Raises NSInternalInconsistencyException with the platform's message.
void validateTableUpdate(const RowCounts& before, const RowCounts& after, const TableUpdate& update);

/// Where the rows and sections of the table before a (valid) batch are after it.
class TableUpdateMap {
  public:
    TableUpdateMap(const RowCounts& before, const RowCounts& after, const TableUpdate& update);

    /// The section's index after the batch; nullopt when it was deleted.
    [[nodiscard]] std::optional<NSInteger> newSection(NSInteger oldSection) const;
    /// The row's index after the batch; nullopt when it was deleted (or its section was). A
    /// reloaded row keeps its place (its cell is replaced, see `isReloaded`).
    [[nodiscard]] std::optional<RowIndex> newRow(RowIndex oldRow) const;
    /// True when the row's content is replaced: a reloaded row or a row of a reloaded section.
    [[nodiscard]] bool isReloaded(RowIndex oldRow) const;

  private:
    std::vector<std::optional<NSInteger>> sections_;
    std::vector<std::vector<std::optional<NSInteger>>> rows_;
    std::vector<std::pair<RowIndex, RowIndex>> movedTargets_;
    std::set<RowIndex> reloadedRows_;
    std::set<NSInteger> reloadedSections_;
};

} // namespace ui
