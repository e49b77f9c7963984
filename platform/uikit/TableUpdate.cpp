#include "platform/uikit/TableUpdate.h"

#include "platform/runtime/NSException.h"

#include <cstdio>
#include <string>

namespace ui {
namespace {

[[noreturn]] void fail(const std::string& reason) {
    throw NSException(NSInternalInconsistencyException, reason);
}

template <class... A>
std::string format(const char* pattern, A... args) {
    char text[1024];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

NSInteger countOf(const RowCounts& counts) {
    return static_cast<NSInteger>(counts.size());
}

NSInteger rowsIn(const RowCounts& counts, NSInteger section) {
    return counts[static_cast<std::size_t>(section)];
}

std::string describePath(RowIndex index) {
    return format("<NSIndexPath> 2 indexes [%d, %d]", index.section, index.row);
}

// Old sections in order, without the deleted ones, placed into the new positions that no
// inserted section takes. Nullopt entries are deleted sections.
std::vector<std::optional<NSInteger>> mapSections(NSInteger before, NSInteger after,
                                                  const TableUpdate& update) {
    std::vector<std::optional<NSInteger>> out(static_cast<std::size_t>(before));
    NSInteger next = 0;
    for (NSInteger old = 0; old < before; ++old) {
        if (update.deletedSections.count(old) != 0) {
            continue;
        }
        while (next < after && update.insertedSections.count(next) != 0) {
            ++next;
        }
        out[static_cast<std::size_t>(old)] = next++;
    }
    return out;
}

} // namespace

void validateTableUpdate(const RowCounts& before, const RowCounts& after, const TableUpdate& update) {
    const NSInteger sectionsBefore = countOf(before);
    const NSInteger sectionsAfter = countOf(after);

    // Every index must exist in the table it refers to.
    for (NSInteger s : update.deletedSections) {
        if (s < 0 || s >= sectionsBefore) {
            fail(format("attempt to delete section %d, but there are only %d sections before the update", s,
                        sectionsBefore));
        }
    }
    for (NSInteger s : update.reloadedSections) {
        if (s < 0 || s >= sectionsBefore) {
            fail(format("attempt to reload section %d, but there are only %d sections before the update", s,
                        sectionsBefore));
        }
    }
    for (RowIndex r : update.deletedRows) {
        if (r.section < 0 || r.section >= sectionsBefore) {
            fail(format(
                "attempt to delete row %d from section %d, but there are only %d sections before the update",
                r.row, r.section, sectionsBefore));
        }
        if (r.row < 0 || r.row >= rowsIn(before, r.section)) {
            fail(format(
                "attempt to delete row %d from section %d which only contains %d rows before the update",
                r.row, r.section, rowsIn(before, r.section)));
        }
        if (update.reloadedRows.count(r) != 0) {
            fail("attempt to delete and reload the same index path (" + describePath(r) + ")");
        }
    }
    for (RowIndex r : update.reloadedRows) {
        if (r.section < 0 || r.section >= sectionsBefore) {
            fail(format(
                "attempt to reload row %d from section %d, but there are only %d sections before the update",
                r.row, r.section, sectionsBefore));
        }
        if (r.row < 0 || r.row >= rowsIn(before, r.section)) {
            fail(format(
                "attempt to reload row %d from section %d which only contains %d rows before the update",
                r.row, r.section, rowsIn(before, r.section)));
        }
    }
    for (const auto& [from, to] : update.movedRows) {
        if (from.section < 0 || from.section >= sectionsBefore || from.row < 0 ||
            from.row >= rowsIn(before, from.section)) {
            NSInteger rows =
                from.section >= 0 && from.section < sectionsBefore ? rowsIn(before, from.section) : 0;
            fail("attempt to move index path (" + describePath(from) +
                 ") that does not exist - there are only " + std::to_string(rows) + " rows in section " +
                 std::to_string(from.section) + " before the update");
        }
        if (to.section < 0 || to.section >= sectionsAfter || to.row < 0 ||
            to.row >= rowsIn(after, to.section)) {
            NSInteger rows = to.section >= 0 && to.section < sectionsAfter ? rowsIn(after, to.section) : 0;
            fail("attempt to move index path (" + describePath(from) + ") to index path (" +
                 describePath(to) + ") that does not exist - there are only " + std::to_string(rows) +
                 " rows in section " + std::to_string(to.section) + " after the update");
        }
    }
    for (NSInteger s : update.insertedSections) {
        if (s < 0 || s >= sectionsAfter) {
            fail(format("attempt to insert section %d but there are only %d sections after the update", s,
                        sectionsAfter));
        }
    }
    for (RowIndex r : update.insertedRows) {
        if (r.section < 0 || r.section >= sectionsAfter) {
            fail(format(
                "attempt to insert row %d into section %d, but there are only %d sections after the update",
                r.row, r.section, sectionsAfter));
        }
        if (r.row < 0 || r.row >= rowsIn(after, r.section)) {
            fail(format(
                "attempt to insert row %d into section %d, but there are only %d rows in section %d after "
                "the update",
                r.row, r.section, rowsIn(after, r.section), r.section));
        }
    }

    // The number of sections.
    const NSInteger inserted = static_cast<NSInteger>(update.insertedSections.size());
    const NSInteger deleted = static_cast<NSInteger>(update.deletedSections.size());
    if (sectionsAfter != sectionsBefore + inserted - deleted) {
        fail(format(
            "Invalid update: invalid number of sections.  The number of sections contained in the table "
            "view after the update (%d) must be equal to the number of sections contained in the table "
            "view before the update (%d), plus or minus the number of sections inserted or deleted (%d "
            "inserted, %d deleted).",
            sectionsAfter, sectionsBefore, inserted, deleted));
    }

    // The rows of every section that exists both before and after.
    auto sections = mapSections(sectionsBefore, sectionsAfter, update);
    for (NSInteger old = 0; old < sectionsBefore; ++old) {
        auto now = sections[static_cast<std::size_t>(old)];
        if (!now) {
            continue;
        }
        NSInteger rowsInserted = 0;
        NSInteger rowsDeleted = 0;
        NSInteger movedIn = 0;
        NSInteger movedOut = 0;
        for (RowIndex r : update.insertedRows) {
            rowsInserted += r.section == *now ? 1 : 0;
        }
        for (RowIndex r : update.deletedRows) {
            rowsDeleted += r.section == old ? 1 : 0;
        }
        for (const auto& [from, to] : update.movedRows) {
            auto fromNow = sections[static_cast<std::size_t>(from.section)];
            bool sameSection = fromNow && *fromNow == to.section;
            if (!sameSection && to.section == *now) {
                ++movedIn;
            }
            if (!sameSection && from.section == old) {
                ++movedOut;
            }
        }
        const NSInteger rowsBefore = rowsIn(before, old);
        const NSInteger rowsAfter = rowsIn(after, *now);
        if (rowsAfter != rowsBefore + rowsInserted - rowsDeleted + movedIn - movedOut) {
            fail(format(
                "Invalid update: invalid number of rows in section %d.  The number of rows contained in an "
                "existing section after the update (%d) must be equal to the number of rows contained in "
                "that section before the update (%d), plus or minus the number of rows inserted or deleted "
                "from that section (%d inserted, %d deleted) and plus or minus the number of rows moved into "
                "or out of that section (%d moved in, %d moved out).",
                *now, rowsAfter, rowsBefore, rowsInserted, rowsDeleted, movedIn, movedOut));
        }
    }
}

TableUpdateMap::TableUpdateMap(const RowCounts& before, const RowCounts& after, const TableUpdate& update)
    : sections_(mapSections(countOf(before), countOf(after), update)), rows_(before.size()),
      movedTargets_(update.movedRows), reloadedRows_(update.reloadedRows),
      reloadedSections_(update.reloadedSections) {
    for (NSInteger old = 0; old < countOf(before); ++old) {
        auto& rows = rows_[static_cast<std::size_t>(old)];
        rows.assign(static_cast<std::size_t>(rowsIn(before, old)), std::nullopt);
        auto now = sections_[static_cast<std::size_t>(old)];
        if (!now) {
            continue;
        }
        // Positions in the new section taken by inserted rows and moved-in rows.
        std::set<NSInteger> taken;
        for (RowIndex r : update.insertedRows) {
            if (r.section == *now) {
                taken.insert(r.row);
            }
        }
        for (const auto& [from, to] : update.movedRows) {
            if (to.section == *now) {
                taken.insert(to.row);
            }
        }
        // The remaining old rows keep their order in the free positions.
        NSInteger next = 0;
        for (NSInteger row = 0; row < rowsIn(before, old); ++row) {
            RowIndex index{old, row};
            bool movedAway = false;
            for (const auto& [from, to] : update.movedRows) {
                movedAway |= from == index;
            }
            if (update.deletedRows.count(index) != 0 || movedAway) {
                continue;
            }
            while (taken.count(next) != 0) {
                ++next;
            }
            rows[static_cast<std::size_t>(row)] = next++;
        }
    }
    // Moved rows land where they were sent.
    for (const auto& [from, to] : update.movedRows) {
        if (from.section >= 0 && from.section < countOf(before) && from.row >= 0 &&
            from.row < rowsIn(before, from.section)) {
            rows_[static_cast<std::size_t>(from.section)][static_cast<std::size_t>(from.row)] = to.row;
        }
    }
}

std::optional<NSInteger> TableUpdateMap::newSection(NSInteger oldSection) const {
    if (oldSection < 0 || static_cast<std::size_t>(oldSection) >= sections_.size()) {
        return std::nullopt;
    }
    return sections_[static_cast<std::size_t>(oldSection)];
}

std::optional<RowIndex> TableUpdateMap::newRow(RowIndex oldRow) const {
    if (oldRow.section < 0 || static_cast<std::size_t>(oldRow.section) >= rows_.size()) {
        return std::nullopt;
    }
    const auto& rows = rows_[static_cast<std::size_t>(oldRow.section)];
    if (oldRow.row < 0 || static_cast<std::size_t>(oldRow.row) >= rows.size()) {
        return std::nullopt;
    }
    auto row = rows[static_cast<std::size_t>(oldRow.row)];
    if (!row) {
        return std::nullopt;
    }
    for (const auto& [from, to] : movedTargets_) {
        if (from == oldRow) {
            return to;
        }
    }
    auto section = sections_[static_cast<std::size_t>(oldRow.section)];
    if (!section) {
        return std::nullopt;
    }
    return RowIndex{*section, *row};
}

bool TableUpdateMap::isReloaded(RowIndex oldRow) const {
    return reloadedRows_.count(oldRow) != 0 || reloadedSections_.count(oldRow.section) != 0;
}

} // namespace ui
