#include "tests/support/TableChecker.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "tests/support/ModelTableDataSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace testing_support {
namespace {

// What the data source says now: the row count of each section.
std::vector<NSInteger> askCounts(UITableViewDataSource& source, const std::shared_ptr<UITableView>& table) {
    NSInteger sections = source.implements(UITableViewDataSource::Method::NumberOfSections)
                             ? source.numberOfSectionsInTableView(table)
                             : 1;
    std::vector<NSInteger> rows;
    for (NSInteger s = 0; s < sections; ++s) {
        rows.push_back(std::max<NSInteger>(0, source.tableViewNumberOfRowsInSection(table, s)));
    }
    return rows;
}

// A model data source's cells show their row's text.
std::string checkModelText(const ModelTableDataSource& model, const std::shared_ptr<UITableViewCell>& cell,
                           const std::shared_ptr<NSIndexPath>& path) {
    const std::string& row =
        model.sections[static_cast<std::size_t>(path->section())].rows[static_cast<std::size_t>(path->row())];
    auto shown = cell->textLabel()->text();
    if (shown == row) {
        return "";
    }
    return "shows '" + shown.value_or("(nil)") + "' instead of '" + row + "'";
}

} // namespace

TableChecker::TableChecker(const std::shared_ptr<UITableView>& table, CellCheck cellCheck)
    : table_(table), cellCheck_(std::move(cellCheck)) {
    token_ = table->addChangeObserver([this](UITableView& changed, UITableView::Change change) {
        // Inside a batch the data source is ahead of the table until the batch ends, which checks
        // it: a row the user drags while a batch is open changes the table's model meanwhile.
        if (changed.isInBatch()) {
            return;
        }
        if (change == UITableView::Change::Model) {
            ++checks_;
            EXPECT_EQ(check(false), "") << "after change " << checks_;
        } else {
            ++layoutChecks_;
            EXPECT_EQ(check(true), "") << "after layout " << layoutChecks_;
        }
    });
}

TableChecker::~TableChecker() {
    if (auto table = table_.lock()) {
        table->removeChangeObserver(token_);
    }
}

std::string TableChecker::check() {
    return check(false);
}

std::string TableChecker::check(bool laidOut) {
    auto table = table_.lock();
    auto source = table ? table->dataSource() : nullptr;
    if (!source) {
        return "";
    }
    std::ostringstream problems;
    auto* model = dynamic_cast<ModelTableDataSource*>(source.get());
    if (model != model_) {
        model_ = model;
        outOfRangeSeen_ = 0;
    }
    if (model && model->outOfRange > outOfRangeSeen_) {
        problems << "the table asked " << model->outOfRange - outOfRangeSeen_
                 << " questions about rows the data source does not have; ";
    }
    // The checker's own questions must not show in the model's log or count against it.
    const int outOfRangeBefore = model ? model->outOfRange : 0;
    const auto logSize = model ? model->log.size() : 0;
    const std::vector<NSInteger> rows = askCounts(*source, table);
    if (model) {
        model->outOfRange = outOfRangeBefore;
        outOfRangeSeen_ = outOfRangeBefore;
        model->log.resize(logSize);
    }
    const auto sections = static_cast<NSInteger>(rows.size());

    bool countsAgree = table->numberOfSections() == sections;
    if (!countsAgree) {
        problems << "table has " << table->numberOfSections() << " sections, data source " << sections
                 << "; ";
    } else {
        for (NSInteger s = 0; s < sections; ++s) {
            NSInteger cached = table->numberOfRowsInSection(s);
            if (cached != rows[static_cast<std::size_t>(s)]) {
                countsAgree = false;
                problems << "section " << s << ": table has " << cached << " rows, data source "
                         << rows[static_cast<std::size_t>(s)] << "; ";
            }
        }
    }
    const bool settled = laidOut || !table->needsLayout();
    for (const auto& path : table->indexPathsForVisibleRows()) {
        auto cell = table->cellForRowAtIndexPath(path);
        if (path->section() >= sections || path->row() >= rows[static_cast<std::size_t>(path->section())]) {
            problems << "cell on screen for missing row " << describe(path) << "; ";
            continue;
        }
        if (cell->superview() != table) {
            problems << "cell of " << describe(path) << " is not in the table; ";
        }
        if (settled && cell->frame() != table->rectForRowAtIndexPath(path)) {
            problems << "cell of " << describe(path) << " is not at its row's place; ";
        }
        // Cells show the editing controls exactly while the table edits, except during a swipe.
        if (cell->isEditing() != (table->isEditing() && !table->swipedRow())) {
            problems << "cell of " << describe(path) << (cell->isEditing() ? " edits" : " does not edit")
                     << " while the table " << (table->isEditing() ? "edits" : "does not") << "; ";
        }
        std::string shown = cellCheck_ ? cellCheck_(cell, path)
                            : model    ? checkModelText(*model, cell, path)
                                       : "";
        if (!shown.empty()) {
            problems << "cell of " << describe(path) << ": " << shown << "; ";
        }
    }
    if (settled && countsAgree) {
        // After a layout exactly the rows overlapping the viewport have cells.
        CGFloat top = table->contentOffset().y;
        CGFloat bottom = top + table->frame().size.height;
        for (NSInteger s = 0; s < sections; ++s) {
            for (NSInteger r = 0; r < rows[static_cast<std::size_t>(s)]; ++r) {
                auto path = NSIndexPath::indexPathForRowInSection(r, s);
                CGRect rect = table->rectForRowAtIndexPath(path);
                bool onScreen = rect.size.height > 0 && rect.origin.y < bottom && CGRectGetMaxY(rect) > top;
                if (onScreen != static_cast<bool>(table->cellForRowAtIndexPath(path))) {
                    problems << "row " << describe(path)
                             << (onScreen ? " on screen without a cell" : " off screen with a cell") << "; ";
                }
            }
        }
    }
    return problems.str();
}

} // namespace testing_support
