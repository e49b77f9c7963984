#include "tests/support/TableChecker.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UILabel.h"

#include <gtest/gtest.h>

#include <sstream>

namespace testing_support {

TableChecker::TableChecker(const std::shared_ptr<UITableView>& table,
                           std::shared_ptr<ModelTableDataSource> model)
    : table_(table), model_(std::move(model)) {
    token_ = table->addChangeObserver([this](UITableView&) {
        ++checks_;
        std::string problems = check();
        EXPECT_EQ(problems, "") << "after change " << checks_;
    });
}

TableChecker::~TableChecker() {
    if (auto table = table_.lock()) {
        table->removeChangeObserver(token_);
    }
}

std::string TableChecker::check() {
    auto table = table_.lock();
    if (!table || !model_) {
        return "";
    }
    std::ostringstream problems;
    // The checker's own questions must not count against the data source.
    int outOfRangeBefore = model_->outOfRange;
    auto logSize = model_->log.size();

    const auto& sections = model_->sections;
    if (table->numberOfSections() != static_cast<NSInteger>(sections.size())) {
        problems << "table has " << table->numberOfSections() << " sections, data source " << sections.size()
                 << "; ";
    } else {
        for (std::size_t s = 0; s < sections.size(); ++s) {
            NSInteger rows = table->numberOfRowsInSection(static_cast<NSInteger>(s));
            if (rows != static_cast<NSInteger>(sections[s].rows.size())) {
                problems << "section " << s << ": table has " << rows << " rows, data source "
                         << sections[s].rows.size() << "; ";
            }
        }
    }
    for (const auto& path : table->indexPathsForVisibleRows()) {
        auto cell = table->cellForRowAtIndexPath(path);
        std::size_t s = static_cast<std::size_t>(path->section());
        std::size_t r = static_cast<std::size_t>(path->row());
        if (s >= sections.size() || r >= sections[s].rows.size()) {
            problems << "cell on screen for missing row " << describe(path) << "; ";
            continue;
        }
        if (!table->needsLayout() && cell->frame() != table->rectForRowAtIndexPath(path)) {
            problems << "cell of " << describe(path) << " is not at its row's place; ";
        }
        if (cell->textLabel()->text() != sections[s].rows[r]) {
            problems << "cell of " << describe(path) << " shows '"
                     << cell->textLabel()->text().value_or("(nil)") << "' instead of '" << sections[s].rows[r]
                     << "'; ";
        }
    }
    if (!table->needsLayout()) {
        // After a layout exactly the rows overlapping the viewport have cells.
        CGFloat top = table->contentOffset().y;
        CGFloat bottom = top + table->frame().size.height;
        for (std::size_t s = 0; s < sections.size(); ++s) {
            for (std::size_t r = 0; r < sections[s].rows.size(); ++r) {
                auto path = NSIndexPath::indexPathForRowInSection(static_cast<NSInteger>(r),
                                                                  static_cast<NSInteger>(s));
                CGRect rect = table->rectForRowAtIndexPath(path);
                bool onScreen = rect.size.height > 0 && rect.origin.y < bottom && CGRectGetMaxY(rect) > top;
                if (onScreen != static_cast<bool>(table->cellForRowAtIndexPath(path))) {
                    problems << "row " << describe(path)
                             << (onScreen ? " on screen without a cell" : " off screen with a cell") << "; ";
                }
            }
        }
    }
    model_->outOfRange = outOfRangeBefore;
    model_->log.resize(logSize);
    return problems.str();
}

} // namespace testing_support
