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
// the lap panel, LVViewControllerEditing.cpp runs edit mode, deletes and moves, and
// LVViewControllerNewSection.cpp the new section dialog.

#include "platform/foundation/NSArray.h"
#include "platform/uikit/AdoptsUIAlertViewDelegate.h"
#include "platform/uikit/AdoptsUINavigationBarDelegate.h"
#include "platform/uikit/AdoptsUITableViewDataSource.h"
#include "platform/uikit/AdoptsUITableViewDelegate.h"
#include "platform/uikit/AdoptsUITextFieldDelegate.h"
#include "platform/uikit/UIViewController.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class LVTableViewCell;
class NSIndexPath;
class NSIndexSet;
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
                               public AdoptsUINavigationBarDelegate<LVViewController>,
                               public AdoptsUIAlertViewDelegate<LVViewController>,
                               public AdoptsUITextFieldDelegate<LVViewController> {
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
    /// How long the labels of the results on screen take to move when edit mode changes.
    static constexpr NSTimeInterval kEditModeSlideDuration = 0.3;
    /// How long an emptied section stays in the table of results, and how long after a delete
    /// the table reloads when the file has one section.
    static constexpr NSTimeInterval kSectionRemovalDelay = 0.1;

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
    /// `viewWillDisappear:`: an emptied section still waiting to leave the table leaves it now,
    /// so that nothing done elsewhere meets the table's open batch.
    void viewWillDisappear(bool animated);
    /// `refreshAllStopWatchSavedTimes`: rebuilds `allStopWatchSavedTimes` from a fresh read and
    /// shows the "No Saved Times" label exactly when the one section there is has no records.
    void refreshAllStopWatchSavedTimes();
    /// `setAllLapsForSection:withIndex:`: the lap texts of one record, from a fresh read of the
    /// file; empty when the file no longer holds that record. Reloads the laps table.
    void setAllLapsForSectionWithIndex(std::int32_t section, std::int32_t index);
    /// `tableViewNextAnimationWithCellToDeselect:`: the panel's settle step, then the animated
    /// deselection of the tapped row. Sent as a delayed message by the selection only.
    void tableViewNextAnimationWithCellToDeselect(id indexPath);
    /// `topBarButtonClicked:`: the action of the top bar's items. The root item's right item
    /// switches edit mode on ("Edit") and off ("Done"); its left item ("Add", in edit mode only)
    /// opens the new section dialog; any other item does nothing.
    void topBarButtonClicked(id sender);
    /// `deleteEmptySections:`: takes the sections of the index set out of the table of results
    /// and closes the batch that their removal from the file left open. Sent as a delayed
    /// message by a delete or a move that emptied a section.
    void deleteEmptySections(id sections);
    /// `reloadDeley`: reloads the table of results. Sent as a delayed message by a delete when the
    /// file has one section, so that its header is asked for afresh.
    void reloadDeley();

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
    /// A confirmed delete: the record leaves the file and the table; a section it empties leaves
    /// the file at once and the table a moment later, unless it is the only one.
    void tableViewCommitEditingStyleForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                      UITableViewCellEditingStyle editingStyle,
                                                      const std::shared_ptr<NSIndexPath>& indexPath) override;
    /// A dropped row: the record moves in the file as it moved on screen; a source section it
    /// empties leaves the file at once and the table a moment later, unless it is the only one.
    void tableViewMoveRowAtIndexPathToIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                const std::shared_ptr<NSIndexPath>& from,
                                                const std::shared_ptr<NSIndexPath>& to) override;
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                   const std::shared_ptr<NSIndexPath>& indexPath) override;

    // UITableViewDelegate.
    CGFloat tableViewHeightForRowAtIndexPath(TableRef tableView, PathRef indexPath) override;
    /// A tap on a result: its laps slide in under a bar item titled with its total text.
    void tableViewDidSelectRowAtIndexPath(TableRef tableView, PathRef indexPath) override;
    /// A swipe shows a row's Delete button: its lap count fades out.
    void tableViewWillBeginEditingRowAtIndexPath(TableRef tableView, PathRef indexPath) override;
    /// The swiped row's Delete button went away: its lap count fades back in.
    void tableViewDidEndEditingRowAtIndexPath(TableRef tableView, PathRef indexPath) override;

    // UINavigationBarDelegate.
    /// The back control: the panel slides out; the item is always let go.
    bool navigationBarShouldPopItem(BarRef bar, ItemRef item) override;
    /// After the pop: the laps start at the top next time and results can be tapped again.
    void navigationBarDidPopItem(BarRef bar, ItemRef item) override;

    // UIAlertViewDelegate, for the new section dialog only.
    /// "Add" in the new section dialog: the typed name becomes a new last section, unless it is
    /// already taken or empty; any other button does nothing.
    void alertViewClickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alertView,
                                       NSInteger index) override;

    // UITextFieldDelegate, for the dialog's field: none of its optional methods is overridden,
    // so the field behaves as the platform's default.

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
    /// Puts a result cell's main label and lap count where the browser's mode wants them: the
    /// edit-mode places in edit mode; otherwise the normal ones, with the lap count hidden on
    /// the row that shows its swipe's Delete button.
    static void placeResultLabels(LVTableViewCell& cell, bool editing, bool swiped);

    // View construction (LVViewController.cpp).
    void buildTopBar(CGFloat width);
    void buildTables(CGFloat width, CGFloat height);
    void buildNoSavedTimesLabel(CGFloat width, CGFloat height);

    // The tables (LVViewControllerTables.cpp).
    [[nodiscard]] bool isLapsTable(const std::shared_ptr<UITableView>& tableView) const;
    /// The records of section s of the table as shown; nil when the list has no such section or
    /// the section is waiting to leave the table.
    [[nodiscard]] std::shared_ptr<NSArray> recordsInSection(NSInteger section) const;
    /// The section names of a fresh read, with the names of sections waiting to leave the table
    /// still in their places.
    [[nodiscard]] std::vector<std::string> sectionNamesShown() const;
    /// The record at (s, r) of the in-memory list; nil when the list does not hold it.
    [[nodiscard]] id recordAt(NSInteger section, NSInteger row) const;
    std::shared_ptr<LVTableViewCell> savedTimeCell(NSInteger section, NSInteger row);
    std::shared_ptr<LVTableViewCell> lapCell(NSInteger row);

    // Edit mode, deletes and moves (LVViewControllerEditing.cpp).
    /// Slides the main label of every result on screen to `mainLabelX` and fades its lap count
    /// to `lapsAlpha`, one animation block per cell.
    void slideResultLabels(CGFloat mainLabelX, CGFloat lapsAlpha);
    /// True when row `row` of section `section` shows its swipe's Delete button.
    [[nodiscard]] bool isSwipedRow(NSInteger section, NSInteger row) const;
    /// Fades the lap count of a result on screen to `alpha` with the default animation timing.
    void fadeLapCount(const std::shared_ptr<NSIndexPath>& indexPath, CGFloat alpha);
    /// The row counts the table of results holds now (its own model, not a fresh question).
    [[nodiscard]] std::vector<NSInteger> savedTableCounts();
    /// The row counts the browser answers now: sections from the file, rows from the list.
    [[nodiscard]] std::vector<NSInteger> answeredCounts();
    /// Runs `changes` in one batch of the table of results when the browser now answers exactly
    /// `expected`; otherwise (the file changed from outside, a write failed) reloads the table.
    void updateSavedTable(const std::vector<NSInteger>& expected, const std::function<void()>& changes);
    /// Rebuilds the in-memory list from the file and reloads the table of results from it.
    void reloadFromFile();
    /// After the file dropped `section`: rebuilds the in-memory list and opens the batch that
    /// takes the section out of the table a moment later. `expected` is what the table must then
    /// hold without that section; anything else reloads the table at once.
    void removeSectionLater(std::size_t section, const std::string& name,
                            const std::vector<NSInteger>& expected);
    /// Takes a section still waiting to leave the table out of it now; answers the sections it
    /// took out (nil when none was waiting).
    std::shared_ptr<NSIndexSet> completePendingSectionRemoval();
    /// Where a section of the table as it was shown stands once the sections in `removed` have
    /// left it; nullopt for one of them.
    static std::optional<NSInteger> sectionAfterRemoval(NSInteger section, const NSIndexSet& removed);

    // The new section dialog (LVViewControllerNewSection.cpp).
    /// Opens the dialog over the browser.
    void showNewSectionDialog();
    /// Refuses a name: a fresh dialog opens behind an alert saying why.
    void refuseSectionName(const std::string& title, const std::string& message);
    /// Appends the section to the file and the table, then drops every other empty section.
    void addSectionNamed(const std::string& name);

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
    /// The names the sections of `allStopWatchSavedTimes_` were read under, in the same order: an
    /// edit applies to the list as the user saw it, names and records.
    std::vector<std::string> allStopWatchSectionNames_;
    std::shared_ptr<NSMutableArray> allLaps_;
    std::shared_ptr<UILabel> noSavedTimes_;
    /// The browser's edit mode, switched by the Edit and Done item. It alone decides where a
    /// cell's labels go: the table's own editing flag is also on while a row shows its swipe's
    /// Delete button, when every other row keeps its normal places.
    bool editMode_ = false;
    /// The sections a delayed `deleteEmptySections:` will take out of the table, while the batch
    /// it closes is open; nil otherwise.
    std::shared_ptr<NSIndexSet> pendingSectionRemoval_;
    /// Their names, in the order of their positions, for their headers meanwhile.
    std::vector<std::string> pendingSectionNames_;
};
