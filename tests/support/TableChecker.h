#pragma once
// Re-validates a table against its data source after every change of the table's model
// (reload, batch update, move): the table's cached section and row counts must equal what the
// data source says now, every cell on screen must sit at its row's place and, with a model
// data source, show that row's text, and after a layout exactly the rows in the viewport have
// cells. Failures are reported as test failures naming the change that broke it.

#include "tests/support/ModelTableDataSource.h"

#include <cstdint>
#include <memory>
#include <string>

namespace testing_support {

/// Watches one table for its lifetime.
class TableChecker {
  public:
    TableChecker(const std::shared_ptr<UITableView>& table, std::shared_ptr<ModelTableDataSource> model);
    ~TableChecker();
    TableChecker(const TableChecker&) = delete;
    TableChecker& operator=(const TableChecker&) = delete;

    /// Checks now; returns the problems found ("" when none).
    std::string check();
    /// How many changes were checked.
    [[nodiscard]] int checks() const { return checks_; }

  private:
    std::weak_ptr<UITableView> table_;
    std::shared_ptr<ModelTableDataSource> model_;
    std::uint64_t token_ = 0;
    int checks_ = 0;
};

} // namespace testing_support
