#pragma once
// The view controller behind the Saved tab: the saved-times browser. It lists the stored results
// of the saved-times file grouped by section in one table, slides the laps of a tapped result in
// over it in a second table, and carries its own navigation bar above both.
//
// It is the data source and delegate of both tables and the delegate of its bar. The table of
// results takes its header titles from the file at every call and its sections and rows from the
// in-memory list, which is rebuilt from the file each time the browser comes on screen.
//
// The code is split by concern: LVViewController.cpp builds the view and runs the appearance
// messages, LVViewControllerTables.cpp answers the two tables, LVViewControllerLapPanel.cpp moves
// the lap panel.

#include "platform/foundation/NSArray.h"
#include "platform/uikit/AdoptsUINavigationBarDelegate.h"
#include "platform/uikit/AdoptsUITableViewDataSource.h"
#include "platform/uikit/AdoptsUITableViewDelegate.h"
#include "platform/uikit/UIViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class LVTableViewCell;
class NSIndexPath;
class NSMutableArray;
class UIBarButtonItem;
class UILabel;
class UINavigationBar;
class UITableView;

/// `LVViewController`: the saved-times browser. The Saved tab holds the one instance for the life
/// of the process.
class LVViewController final : public UIViewController,
                               public AdoptsUITableViewDataSource<LVViewController>,
                               public AdoptsUITableViewDelegate<LVViewController>,
                               public AdoptsUINavigationBarDelegate<LVViewController> {
  public:
    static constexpr const char* kClassName = "LVViewController";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b);

    /// The height of the area under the view that the tab bar covers, kept free of the tables.
    static constexpr CGFloat kTabBarAllowance = 48;
    /// How far the lap panel overshoots to the left while it slides in.
    static constexpr CGFloat kPanelOvershoot = 20;
    /// Where a cell's main label starts outside edit mode, and inside it (clear of the minus).
    static constexpr CGFloat kMainLabelX = 10;
    static constexpr CGFloat kMainLabelEditingX = 40;

    // Registered methods, always reached through the runtime.
    /// `initWithNibName:bundle:`: the inherited initialiser; everything else is built when the view
    /// loads.
    void initWithNibNameBundle(std::optional<std::string> nibName, id bundle);
    /// `didReceiveMemoryWarning`: the inherited operation only.
    void didReceiveMemoryWarning();
    /// `viewDidLoad`: builds the top bar, the section list of the file when it has none, both
    /// tables and the "No Saved Times" label.
    void viewDidLoad();
    /// `viewWillAppear:`: rebuilds the in-memory list and reloads the table of results.
    void viewWillAppear(bool animated);
    /// `viewDidAppear:`: puts the labels of the visible result cells where edit mode wants them.
    void viewDidAppear(bool animated);
    /// `refreshAllStopWatchSavedTimes`: rebuilds `allStopWatchSavedTimes` from a fresh read and
    /// shows the "No Saved Times" label exactly when the one section there is has no records.
    void refreshAllStopWatchSavedTimes();
    /// `setAllLapsForSection:withIndex:`: the lap texts of one record, from a fresh read of the
    /// file; empty when the file no longer holds that record. Reloads the laps table.
    void setAllLapsForSectionWithIndex(std::int32_t section, std::int32_t index);
    /// `tableViewNextAnimationWithCellToDeselect:`: the panel's settle step, then the animated
    /// deselection of the tapped row. Sent as a delayed message by the selection only.
    void tableViewNextAnimationWithCellToDeselect(id indexPath);
    /// `topBarButtonClicked:`: the action of the top bar's items. Edit mode and new sections are
    /// not part of the browser yet, so no item does anything.
    void topBarButtonClicked(id sender);

    // UITableViewDataSource, for both tables: a table other than the laps table is the table of
    // results. Only the optional methods overridden here are announced as implemented.
    NSInteger numberOfSectionsInTableView(const std::shared_ptr<UITableView>& tableView) override;
    NSInteger tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>& tableView,
                                             NSInteger section) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
                                                                NSInteger section) override;
    bool tableViewCanEditRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                        const std::shared_ptr<NSIndexPath>& indexPath) override;
    bool tableViewCanMoveRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                        const std::shared_ptr<NSIndexPath>& indexPath) override;
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                   const std::shared_ptr<NSIndexPath>& indexPath) override;

    // UITableViewDelegate.
    CGFloat tableViewHeightForRowAtIndexPath(TableRef tableView, PathRef indexPath) override;
    /// A tap on a result: its laps slide in under a bar item titled with its total text.
    void tableViewDidSelectRowAtIndexPath(TableRef tableView, PathRef indexPath) override;

    // UINavigationBarDelegate.
    /// The back control: the panel slides out; the item is always let go.
    bool navigationBarShouldPopItem(BarRef bar, ItemRef item) override;
    /// After the pop: the laps start at the top next time and results can be tapped again.
    void navigationBarDidPopItem(BarRef bar, ItemRef item) override;

    /// `savedTable`: the table of results, one section per section of the file.
    [[nodiscard]] const std::shared_ptr<UITableView>& savedTable() const { return savedTable_; }
    /// `lapsTable`: the lap panel, one row per lap text of the selected result.
    [[nodiscard]] const std::shared_ptr<UITableView>& lapsTable() const { return lapsTable_; }
    /// `topBar`: the browser's own navigation bar.
    [[nodiscard]] const std::shared_ptr<UINavigationBar>& topBar() const { return topBar_; }
    /// `editButton`: the root item's right item.
    [[nodiscard]] const std::shared_ptr<UIBarButtonItem>& editButton() const { return editButton_; }
    /// `dismissButton`: the "Close" item, kept but never placed on the bar.
    [[nodiscard]] const std::shared_ptr<UIBarButtonItem>& dismissButton() const { return dismissButton_; }
    /// `allStopWatchSavedTimes`: each section's mutable array of records, in the file's order.
    [[nodiscard]] const std::shared_ptr<NSMutableArray>& allStopWatchSavedTimes() const {
        return allStopWatchSavedTimes_;
    }
    /// `allLaps`: the lap texts of the selected result.
    [[nodiscard]] const std::shared_ptr<NSMutableArray>& allLaps() const { return allLaps_; }
    /// `noSavedTimes`: the label shown when the only section has no records.
    [[nodiscard]] const std::shared_ptr<UILabel>& noSavedTimes() const { return noSavedTimes_; }

  private:
    // View construction (LVViewController.cpp).
    void buildTopBar(CGFloat width);
    void buildTables(CGFloat width, CGFloat height);
    void buildNoSavedTimesLabel(CGFloat width, CGFloat height);

    // The tables (LVViewControllerTables.cpp).
    [[nodiscard]] bool isLapsTable(const std::shared_ptr<UITableView>& tableView) const;
    /// The records of section s of the in-memory list; nil when the list has no such section.
    [[nodiscard]] std::shared_ptr<NSArray> recordsInSection(NSInteger section) const;
    /// The record at (s, r) of the in-memory list; nil when the list does not hold it.
    [[nodiscard]] id recordAt(NSInteger section, NSInteger row) const;
    std::shared_ptr<LVTableViewCell> savedTimeCell(NSInteger section, NSInteger row);
    std::shared_ptr<LVTableViewCell> lapCell(NSInteger row);

    // The lap panel (LVViewControllerLapPanel.cpp).
    /// Moves the laps table by these amounts in one animation block.
    void moveLapsTable(CGFloat dx, CGFloat dWidth, NSTimeInterval duration,
                       std::optional<UIViewAnimationCurve> curve);

    std::shared_ptr<UITableView> savedTable_;
    std::shared_ptr<UITableView> lapsTable_;
    std::shared_ptr<UINavigationBar> topBar_;
    std::shared_ptr<UIBarButtonItem> editButton_;
    std::shared_ptr<UIBarButtonItem> dismissButton_;
    std::shared_ptr<NSMutableArray> allStopWatchSavedTimes_;
    std::shared_ptr<NSMutableArray> allLaps_;
    std::shared_ptr<UILabel> noSavedTimes_;
};
