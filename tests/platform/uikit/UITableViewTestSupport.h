#pragma once
// The fixture shared by the table tests: a 320x220 table (five 44-point rows on screen) over a
// model data source, watched by the table checker.

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSIndexSet.h"
#include "platform/runtime/NSException.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITableView.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/ModelTable.h"
#include "tests/support/TableChecker.h"

#include <memory>
#include <string>
#include <vector>

namespace table_tests {

using testing_support::ModelSection;
using testing_support::ModelTable;
using testing_support::ModelTableDataSource;
using testing_support::ModelTableWith;
using DS = UITableViewDataSource::Method;
using DM = UITableViewDelegate::Method;

/// A section titled `title` (nullopt: no header) with rows named prefix0, prefix1...
inline ModelSection section(std::optional<std::string> title, int rows, const std::string& prefix) {
    ModelSection out{std::move(title), {}};
    for (int i = 0; i < rows; ++i) {
        out.rows.push_back(prefix + std::to_string(i));
    }
    return out;
}

inline std::shared_ptr<NSIndexPath> at(NSInteger section, NSInteger row) {
    return NSIndexPath::indexPathForRowInSection(row, section);
}

class TableTest : public testing_support::DeviceTest {
  protected:
    std::shared_ptr<ModelTableDataSource> model = std::make_shared<ModelTableWith<>>();
    std::shared_ptr<UITableView> table =
        UITableView::withFrameStyle(CGRectMake(0, 44, 320, 220), UITableViewStylePlain);
    std::unique_ptr<testing_support::TableChecker> checker;

    /// Gives the table `model` with these sections, watched by the checker unless told
    /// otherwise; reloads and lays out.
    void show(std::vector<ModelSection> sections, bool checked = true) {
        model->sections = std::move(sections);
        table->setDataSource(model);
        table->setDelegate(model);
        if (checked) {
            checker = std::make_unique<testing_support::TableChecker>(table);
        }
        table->reloadData();
        table->layoutIfNeeded();
        model->log.clear();
    }

    /// The texts of the cells on screen, top to bottom.
    std::vector<std::string> shownTexts() const {
        std::vector<std::string> out;
        for (const auto& cell : table->visibleCells()) {
            out.push_back(cell->textLabel()->text().value_or("(nil)"));
        }
        return out;
    }

    void TearDown() override {
        EXPECT_EQ(model->outOfRange, 0) << "the table asked about rows the data source does not have";
    }
};

} // namespace table_tests
