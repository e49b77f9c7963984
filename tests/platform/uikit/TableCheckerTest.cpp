// The table checker watches any table through whatever data source it has, here one data source
// serving two tables, as a screen with two tables does.

#include "tests/support/TableChecker.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/AdoptsUITableViewDataSource.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITableView.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/ModelTableDataSource.h"

#include <gtest/gtest-spi.h>

#include <map>

namespace {

using testing_support::describe;
using testing_support::TableChecker;

// Rows named "s.r", counted per table.
class TwoTables final : public AdoptsUITableViewDataSource<TwoTables> {
  public:
    std::map<const UITableView*, std::vector<NSInteger>> rows;

    NSInteger numberOfSectionsInTableView(const std::shared_ptr<UITableView>& table) override {
        return static_cast<NSInteger>(rows[table.get()].size());
    }
    NSInteger tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>& table,
                                             NSInteger section) override {
        return rows[table.get()].at(static_cast<std::size_t>(section));
    }
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                   const std::shared_ptr<NSIndexPath>& path) override {
        auto cell = table->dequeueReusableCellWithIdentifier("Cell");
        if (!cell) {
            cell = UITableViewCell::withStyle(UITableViewCellStyleDefault, "Cell");
        }
        cell->textLabel()->setText(describe(path));
        return cell;
    }
};

class TableCheckerTest : public testing_support::DeviceTest {
  protected:
    std::shared_ptr<TwoTables> source = std::make_shared<TwoTables>();
    std::shared_ptr<UITableView> left =
        UITableView::withFrameStyle(CGRectMake(0, 0, 160, 220), UITableViewStylePlain);
    std::shared_ptr<UITableView> right =
        UITableView::withFrameStyle(CGRectMake(160, 0, 160, 220), UITableViewStylePlain);

    void SetUp() override {
        source->rows[left.get()] = {3, 8};
        source->rows[right.get()] = {2};
        for (const auto& table : {left, right}) {
            table->setDataSource(source);
        }
    }
};

TEST_F(TableCheckerTest, WatchesEachTableOfOneDataSourceThroughChangesAndLayouts) {
    TableChecker leftChecker(left);
    TableChecker rightChecker(right, [](const auto& cell, const auto& path) {
        return cell->textLabel()->text() == describe(path) ? std::string() : std::string("wrong text");
    });
    for (const auto& table : {left, right}) {
        table->reloadData();
        table->layoutIfNeeded();
    }
    left->setContentOffset({0, 200});
    left->layoutIfNeeded();
    EXPECT_EQ(leftChecker.checks(), 1);
    EXPECT_EQ(leftChecker.layoutChecks(), 2);
    EXPECT_EQ(rightChecker.layoutChecks(), 1);

    // The data source drops a row of the left table without telling it.
    source->rows[left.get()] = {3, 7};
    EXPECT_EQ(leftChecker.check(), "section 1: table has 8 rows, data source 7; ");
    EXPECT_EQ(rightChecker.check(), "");
    EXPECT_NONFATAL_FAILURE(
        {
            left->setContentOffset({0, 0});
            left->layoutIfNeeded();
        },
        "table has 8 rows, data source 7");
    source->rows[left.get()] = {3, 7};
    left->deleteRowsAtIndexPathsWithRowAnimation({NSIndexPath::indexPathForRowInSection(7, 1)},
                                                 UITableViewRowAnimationNone);
    EXPECT_EQ(leftChecker.check(), "");
}

TEST_F(TableCheckerTest, ChecksWhatCellsShowOnlyWhereTheTestSaysWhatTheyMustShow) {
    TableChecker plain(left);
    TableChecker picky(right, [](const auto&, const auto& path) {
        return path->row() == 1 ? std::string("row 1 must not show") : std::string();
    });
    left->reloadData();
    left->layoutIfNeeded();
    right->reloadData();
    EXPECT_NONFATAL_FAILURE(right->layoutIfNeeded(), "cell of 0.1: row 1 must not show");
    EXPECT_EQ(plain.check(), "");
}

} // namespace
