// Batches checked against a model built forwards: a random table of named rows is changed (sections
// and rows deleted, rows moved anywhere, sections and rows inserted), the batch that describes the
// change is read off the result, and the validation and the map of the old rows are compared with
// where each named row really went.

#include "platform/uikit/TableUpdate.h"
#include "platform/runtime/NSException.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using ui::RowCounts;
using ui::RowIndex;
using ui::TableUpdate;

constexpr int kInserted = -1; // the name of every inserted row

struct Batch {
    RowCounts before;
    RowCounts after;
    TableUpdate update;
    std::map<RowIndex, std::optional<RowIndex>> rowsAfter; // every old row, nullopt when gone
    std::vector<std::optional<NSInteger>> sectionsAfter;   // every old section, nullopt when gone
};

Batch randomBatch(std::mt19937& random) {
    auto below = [&random](std::size_t n) { return static_cast<NSInteger>(random() % n); };
    Batch batch;
    // The old table: row r of section s is named s * 100 + r.
    const NSInteger sections = below(5);
    std::vector<std::vector<int>> table;
    std::vector<NSInteger> tableOrigin; // the old section of each section of `table`, -1 for new ones
    std::vector<int> movers;
    for (NSInteger s = 0; s < sections; ++s) {
        const NSInteger rows = below(6);
        batch.before.push_back(rows);
        const bool deleted = below(5) == 0;
        if (deleted) {
            batch.update.deletedSections.insert(s);
        }
        std::vector<int> kept;
        for (NSInteger r = 0; r < rows; ++r) {
            const int name = static_cast<int>(s * 100 + r);
            batch.rowsAfter[{s, r}] = std::nullopt;
            if (deleted) {
                continue;
            }
            switch (below(5)) {
            case 0:
                batch.update.deletedRows.insert({s, r});
                break;
            case 1:
                movers.push_back(name);
                break;
            default:
                kept.push_back(name);
            }
        }
        if (!deleted) {
            table.push_back(kept);
            tableOrigin.push_back(s);
        }
    }
    // New sections anywhere, then moved and inserted rows anywhere in the new table.
    for (NSInteger n = below(3); n > 0; --n) {
        const auto at = below(table.size() + 1);
        table.insert(table.begin() + at, std::vector<int>{});
        tableOrigin.insert(tableOrigin.begin() + at, -1);
    }
    if (table.empty()) {
        movers.clear();
    }
    std::vector<int> arriving = movers;
    for (NSInteger n = below(4); n > 0 && !table.empty(); --n) {
        arriving.push_back(kInserted);
    }
    std::shuffle(arriving.begin(), arriving.end(), random);
    for (int name : arriving) {
        auto& rows = table[static_cast<std::size_t>(below(table.size()))];
        rows.insert(rows.begin() + below(rows.size() + 1), name);
    }
    // The batch read off the new table.
    batch.sectionsAfter.assign(static_cast<std::size_t>(sections), std::nullopt);
    std::map<int, RowIndex> moverAt;
    for (NSInteger s = 0; s < static_cast<NSInteger>(table.size()); ++s) {
        const auto& rows = table[static_cast<std::size_t>(s)];
        batch.after.push_back(static_cast<NSInteger>(rows.size()));
        const NSInteger origin = tableOrigin[static_cast<std::size_t>(s)];
        if (origin < 0) {
            batch.update.insertedSections.insert(s);
        } else {
            batch.sectionsAfter[static_cast<std::size_t>(origin)] = s;
        }
        for (NSInteger r = 0; r < static_cast<NSInteger>(rows.size()); ++r) {
            const int name = rows[static_cast<std::size_t>(r)];
            if (name == kInserted) {
                batch.update.insertedRows.insert({s, r});
            } else {
                batch.rowsAfter[{name / 100, name % 100}] = RowIndex{s, r};
                if (std::find(movers.begin(), movers.end(), name) != movers.end()) {
                    moverAt[name] = RowIndex{s, r};
                }
            }
        }
    }
    for (const auto& [name, to] : moverAt) {
        batch.update.movedRows.emplace_back(RowIndex{name / 100, name % 100}, to);
    }
    std::shuffle(batch.update.movedRows.begin(), batch.update.movedRows.end(), random);
    return batch;
}

std::string describe(const Batch& batch) {
    auto counts = [](const RowCounts& c) {
        std::string out;
        for (NSInteger n : c) {
            out += std::to_string(n) + " ";
        }
        return out;
    };
    std::string out = "before: " + counts(batch.before) + "after: " + counts(batch.after) + "moves:";
    for (const auto& [from, to] : batch.update.movedRows) {
        out += " " + std::to_string(from.section) + "." + std::to_string(from.row) + ">" +
               std::to_string(to.section) + "." + std::to_string(to.row);
    }
    return out;
}

class TableUpdateSessions : public ::testing::TestWithParam<unsigned> {};

// A batch that describes a real change is accepted, and every old row and section is mapped to
// where it went (or to nothing when it went away). The same batch with one inserted or deleted
// row or section left out no longer adds up and is refused.
TEST_P(TableUpdateSessions, TheMapFollowsEveryRowAndAnIncompleteBatchIsRefused) {
    std::mt19937 random(GetParam());
    for (int round = 0; round < 12; ++round) {
        const Batch batch = randomBatch(random);
        SCOPED_TRACE(describe(batch));
        ASSERT_NO_THROW(ui::validateTableUpdate(batch.before, batch.after, batch.update));
        const ui::TableUpdateMap map(batch.before, batch.after, batch.update);
        for (const auto& [old, now] : batch.rowsAfter) {
            EXPECT_EQ(map.newRow(old), now) << "row " << old.section << "." << old.row;
        }
        for (std::size_t s = 0; s < batch.sectionsAfter.size(); ++s) {
            EXPECT_EQ(map.newSection(static_cast<NSInteger>(s)), batch.sectionsAfter[s]) << "section " << s;
        }
        EXPECT_EQ(map.newSection(static_cast<NSInteger>(batch.before.size())), std::nullopt);
        EXPECT_EQ(map.newRow({static_cast<NSInteger>(batch.before.size()), 0}), std::nullopt);

        auto refused = [&batch](const TableUpdate& partial) {
            try {
                ui::validateTableUpdate(batch.before, batch.after, partial);
            } catch (const NSException& e) {
                return e.name() == NSInternalInconsistencyException;
            }
            return false;
        };
        // Only the rows of a section that was there before are counted; a new section's rows
        // are whatever the data source says.
        for (RowIndex r : batch.update.insertedRows) {
            if (batch.update.insertedSections.count(r.section) == 0) {
                TableUpdate partial = batch.update;
                partial.insertedRows.erase(r);
                EXPECT_TRUE(refused(partial)) << "inserted row " << r.section << "." << r.row << " left out";
                break;
            }
        }
        if (!batch.update.deletedRows.empty()) {
            TableUpdate partial = batch.update;
            partial.deletedRows.erase(std::next(partial.deletedRows.begin(),
                                                static_cast<long>(random() % partial.deletedRows.size())));
            EXPECT_TRUE(refused(partial)) << "a deleted row left out";
        }
        if (!batch.update.insertedSections.empty()) {
            TableUpdate partial = batch.update;
            partial.insertedSections.erase(partial.insertedSections.begin());
            EXPECT_TRUE(refused(partial)) << "an inserted section left out";
        }
        if (!batch.update.deletedSections.empty()) {
            TableUpdate partial = batch.update;
            partial.deletedSections.erase(partial.deletedSections.begin());
            EXPECT_TRUE(refused(partial)) << "a deleted section left out";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, TableUpdateSessions, ::testing::Range(1U, 41U),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed_" + std::to_string(info.param);
                         });

// Every index a batch names is checked against the table it refers to before anything is
// counted: one past either end is refused as an index ("attempt to ..."), the first and the last
// that exist are not.
TEST(TableUpdateIndexes, OnePastEitherEndIsRefusedAndTheEndsThemselvesAreNot) {
    const RowCounts before = {2, 3};
    const RowCounts after = {4, 1, 2};
    struct Kind {
        const char* name;
        bool rows;       // names a row, else a section
        bool afterBatch; // an index of the table after the batch, else before it
        std::function<void(TableUpdate&, RowIndex)> add;
    };
    const std::vector<Kind> kinds = {
        {"deleted section", false, false,
         [](TableUpdate& u, RowIndex i) { u.deletedSections.insert(i.section); }},
        {"reloaded section", false, false,
         [](TableUpdate& u, RowIndex i) { u.reloadedSections.insert(i.section); }},
        {"inserted section", false, true,
         [](TableUpdate& u, RowIndex i) { u.insertedSections.insert(i.section); }},
        {"deleted row", true, false, [](TableUpdate& u, RowIndex i) { u.deletedRows.insert(i); }},
        {"reloaded row", true, false, [](TableUpdate& u, RowIndex i) { u.reloadedRows.insert(i); }},
        {"inserted row", true, true, [](TableUpdate& u, RowIndex i) { u.insertedRows.insert(i); }},
        {"moved row's source", true, false,
         [](TableUpdate& u, RowIndex i) {
             u.movedRows.emplace_back(i, RowIndex{0, 0});
         }},
        {"moved row's target", true, true,
         [](TableUpdate& u, RowIndex i) {
             u.movedRows.emplace_back(RowIndex{0, 0}, i);
         }},
    };
    // The reason the batch holding only `index` is refused with; empty when it is not.
    auto reason = [&](const Kind& kind, RowIndex index) -> std::string {
        TableUpdate update;
        kind.add(update, index);
        try {
            ui::validateTableUpdate(before, after, update);
        } catch (const NSException& e) {
            EXPECT_EQ(e.name(), NSInternalInconsistencyException);
            return e.reason();
        }
        return "";
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const RowCounts& table = kind.afterBatch ? after : before;
        const auto sections = static_cast<NSInteger>(table.size());
        std::vector<RowIndex> outside = {{-1, 0}, {sections, 0}};
        std::vector<RowIndex> inside;
        for (NSInteger s = 0; s < sections; ++s) {
            const NSInteger rows = table[static_cast<std::size_t>(s)];
            if (kind.rows) {
                outside.push_back({s, -1});
                outside.push_back({s, rows});
                inside.push_back({s, 0});
                inside.push_back({s, rows - 1});
            } else {
                inside.push_back({s, 0});
            }
        }
        for (RowIndex index : outside) {
            const std::string text = reason(kind, index);
            EXPECT_EQ(text.rfind("attempt to ", 0), 0u) << index.section << "." << index.row << ": " << text;
            EXPECT_NE(text.find(std::to_string(kind.rows && index.section >= 0 && index.section < sections
                                                   ? index.row
                                                   : index.section)),
                      std::string::npos)
                << "the reason names the index: " << text;
        }
        for (RowIndex index : inside) {
            EXPECT_NE(reason(kind, index).rfind("attempt to ", 0), 0u) << index.section << "." << index.row;
        }
    }
}

} // namespace
