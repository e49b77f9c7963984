#pragma once
// A table data source and delegate over an in-memory model of sections of text rows, for table
// tests. It logs every question the table asks (in order), counts questions about sections or
// rows its model does not have, implements exactly the optional methods a test switches on,
// and by default answers a delete or a move the way a correct app does.

#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace testing_support {

/// One section of the model.
struct ModelSection {
    std::optional<std::string> title;
    std::vector<std::string> rows;
};

/// A data source and delegate backed by `sections`.
class ModelTableDataSource : public UITableViewDataSource, public UITableViewDelegate {
  public:
    using DataSourceMethod = UITableViewDataSource::Method;
    using DelegateMethod = UITableViewDelegate::Method;

    explicit ModelTableDataSource(std::vector<ModelSection> model = {}) : sections(std::move(model)) {}

    std::vector<ModelSection> sections;
    /// Optional methods answered (both protocols); tests add or remove entries.
    std::set<DataSourceMethod> dataSourceMethods{DataSourceMethod::NumberOfSections,
                                                 DataSourceMethod::TitleForHeaderInSection};
    std::set<DelegateMethod> delegateMethods{DelegateMethod::DidSelectRow};
    /// Row height answered when HeightForRow is on.
    CGFloat height = 44;
    /// The reuse identifier of the cells made, per section (default "Cell").
    std::function<std::string(NSInteger section)> identifierFor = [](NSInteger) {
        return std::string("Cell");
    };
    /// Rows for which canEditRow / canMoveRow answer NO.
    std::set<std::pair<NSInteger, NSInteger>> notEditable;
    std::set<std::pair<NSInteger, NSInteger>> notMovable;
    /// What a confirmed delete does; by default: remove from the model, then delete the row.
    std::function<void(const std::shared_ptr<UITableView>&, const std::shared_ptr<NSIndexPath>&)>
        onCommitDelete;
    /// What a drop does; by default: remove at the source, insert at the destination.
    std::function<void(const std::shared_ptr<NSIndexPath>&, const std::shared_ptr<NSIndexPath>&)> onMove;
    /// Where willSelect sends a tap (nullopt: the tapped row; a nil path refuses).
    std::optional<std::shared_ptr<NSIndexPath>> willSelectAnswer;
    /// When set, cellForRow answers nil (a data source fault).
    bool answerNilCell = false;

    /// Everything the table asked or told, in order ("rows:0", "cell:0.1", "didSelect:0.1"...).
    std::vector<std::string> log;
    /// Questions about sections or rows the model does not have.
    int outOfRange = 0;
    /// Cells made (not dequeued).
    int cellsMade = 0;

    /// Log entries starting with `prefix`.
    [[nodiscard]] std::vector<std::string> logged(const std::string& prefix) const;

    [[nodiscard]] bool implements(DataSourceMethod method) const override {
        return dataSourceMethods.count(method);
    }
    [[nodiscard]] bool implements(DelegateMethod method) const override {
        return delegateMethods.count(method);
    }

    NSInteger numberOfSectionsInTableView(const std::shared_ptr<UITableView>&) override;
    NSInteger tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>&, NSInteger section) override;
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                   const std::shared_ptr<NSIndexPath>& path) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(const std::shared_ptr<UITableView>&,
                                                                NSInteger section) override;
    bool tableViewCanEditRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                        const std::shared_ptr<NSIndexPath>& path) override;
    bool tableViewCanMoveRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                        const std::shared_ptr<NSIndexPath>& path) override;
    void tableViewCommitEditingStyleForRowAtIndexPath(const std::shared_ptr<UITableView>& table,
                                                      UITableViewCellEditingStyle style,
                                                      const std::shared_ptr<NSIndexPath>& path) override;
    void tableViewMoveRowAtIndexPathToIndexPath(const std::shared_ptr<UITableView>&,
                                                const std::shared_ptr<NSIndexPath>& from,
                                                const std::shared_ptr<NSIndexPath>& to) override;

    CGFloat tableViewHeightForRowAtIndexPath(TableRef, PathRef path) override;
    void tableViewWillDisplayCellForRowAtIndexPath(TableRef, const std::shared_ptr<UITableViewCell>&,
                                                   PathRef path) override;
    std::shared_ptr<NSIndexPath> tableViewWillSelectRowAtIndexPath(TableRef, PathRef path) override;
    void tableViewDidSelectRowAtIndexPath(TableRef, PathRef path) override;
    void tableViewDidDeselectRowAtIndexPath(TableRef, PathRef path) override;
    void tableViewWillBeginEditingRowAtIndexPath(TableRef, PathRef path) override;
    void tableViewDidEndEditingRowAtIndexPath(TableRef, PathRef path) override;

  private:
    bool hasRow(const std::shared_ptr<NSIndexPath>& path);
};

/// "s.r" for a path.
std::string describe(const std::shared_ptr<NSIndexPath>& path);

} // namespace testing_support
