#pragma once
// Re-validates a table against whatever data source it has, after every change of the table's
// model (reload, batch update, move) and after every layout pass, outside a batch: the table's
// cached section and row counts must equal what the data source says now, every cell on screen
// must belong to a row the data source has and sit at its row's place, and after a layout exactly
// the rows in the viewport have cells. Failures are reported as test failures naming the check
// that found them.
//
// What a cell shows is checked only where the test says what it must show: with a cell check
// given, or when the data source is a ModelTableDataSource, whose cells must show their row's
// text. A model data source also counts questions about rows it does not have; the checker
// reports each new one. Another data source's questions cannot be seen from outside the table.
//
//     TableChecker checker(table);                 // any table, any data source
//     TableChecker checker(table, checkLabels);    // plus what each cell shows

#include "platform/uikit/UITableView.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace testing_support {

/// Watches one table for its lifetime.
class TableChecker {
  public:
    /// Checks what one cell on screen shows: "" when it is right, else what is wrong.
    using CellCheck = std::function<std::string(const std::shared_ptr<UITableViewCell>&,
                                                const std::shared_ptr<NSIndexPath>&)>;

    explicit TableChecker(const std::shared_ptr<UITableView>& table, CellCheck cellCheck = {});
    ~TableChecker();
    TableChecker(const TableChecker&) = delete;
    TableChecker& operator=(const TableChecker&) = delete;

    /// Checks now; returns the problems found ("" when none). The viewport is checked only when
    /// the table has no layout pending.
    std::string check();
    /// How many changes of the table's model were checked.
    [[nodiscard]] int checks() const { return checks_; }
    /// How many layout passes were checked.
    [[nodiscard]] int layoutChecks() const { return layoutChecks_; }

  private:
    std::string check(bool laidOut);

    std::weak_ptr<UITableView> table_;
    CellCheck cellCheck_;
    std::uint64_t token_ = 0;
    int checks_ = 0;
    int layoutChecks_ = 0;
    // The model data source last checked and how many of its out-of-range questions were reported.
    const void* model_ = nullptr;
    int outOfRangeSeen_ = 0;
};

} // namespace testing_support
