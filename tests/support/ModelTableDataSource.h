#pragma once
// What the table tests' data sources and delegates share: an in-memory model of sections of
// text rows, a log of every question the table asks (in order), a count of questions about
// sections or rows the model does not have, and the answers a correct app gives (a delete or a
// move changes the model the way it should). It implements only the two required methods; which
// optional ones a test's data source has is chosen at compile time with `ModelTable`
// (ModelTable.h), exactly as an app's class would, so `implements` is derived, never kept by hand.

#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"

#include <functional>
#include <map>
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

/// A data source and delegate backed by `sections`; abstract until `ModelTable` adopts both
/// protocols for it.
class ModelTableDataSource : public virtual UITableViewDataSource, public virtual UITableViewDelegate {
  public:
    using DataSourceMethod = UITableViewDataSource::Method;
    using DelegateMethod = UITableViewDelegate::Method;

    explicit ModelTableDataSource(std::vector<ModelSection> model = {}) : sections(std::move(model)) {}

    std::vector<ModelSection> sections;
    /// Row height answered by `tableView:heightForRowAtIndexPath:`, where implemented.
    CGFloat height = 44;
    /// The reuse identifier of the cells made, per section (default "Cell").
    std::function<std::string(NSInteger section)> identifierFor = [](NSInteger) {
        return std::string("Cell");
    };
    /// Rows for which canEditRow / canMoveRow answer NO.
    std::set<std::pair<NSInteger, NSInteger>> notEditable;
    std::set<std::pair<NSInteger, NSInteger>> notMovable;
    /// Rows whose editingStyleForRow answer is not Delete.
    std::map<std::pair<NSInteger, NSInteger>, UITableViewCellEditingStyle> editingStyles;
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

    NSInteger tableViewNumberOfRowsInSection(TableRef table, NSInteger section) override;
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(TableRef table, PathRef path) override;

  protected:
    // The answers of the optional methods, which ModelTable's parts override with.
    /// `numberOfSectionsInTableView:`.
    NSInteger answerNumberOfSections();
    /// `tableView:titleForHeaderInSection:`.
    std::optional<std::string> answerTitleForHeader(NSInteger section);
    /// `tableView:canEditRowAtIndexPath:`.
    bool answerCanEditRow(PathRef path);
    /// `tableView:canMoveRowAtIndexPath:`.
    bool answerCanMoveRow(PathRef path);
    /// `tableView:editingStyleForRowAtIndexPath:`.
    UITableViewCellEditingStyle answerEditingStyle(PathRef path);
    /// `tableView:commitEditingStyle:forRowAtIndexPath:`.
    void answerCommitEditingStyle(TableRef table, UITableViewCellEditingStyle style, PathRef path);
    /// `tableView:moveRowAtIndexPath:toIndexPath:`.
    void answerMoveRow(PathRef from, PathRef to);
    /// `tableView:heightForRowAtIndexPath:`.
    CGFloat answerHeightForRow(PathRef path);
    /// `tableView:willDisplayCell:forRowAtIndexPath:`.
    void answerWillDisplayCell(PathRef path);
    /// `tableView:willSelectRowAtIndexPath:`.
    std::shared_ptr<NSIndexPath> answerWillSelectRow(PathRef path);
    /// `tableView:didSelectRowAtIndexPath:`.
    void answerDidSelectRow(PathRef path);
    /// `tableView:didDeselectRowAtIndexPath:`.
    void answerDidDeselectRow(PathRef path);
    /// `tableView:willBeginEditingRowAtIndexPath:`.
    void answerWillBeginEditingRow(TableRef table, PathRef path);
    /// `tableView:didEndEditingRowAtIndexPath:`.
    void answerDidEndEditingRow(TableRef table, PathRef path);

  private:
    bool hasRow(const std::shared_ptr<NSIndexPath>& path);
};

/// "s.r" for a path.
std::string describe(const std::shared_ptr<NSIndexPath>& path);

} // namespace testing_support
