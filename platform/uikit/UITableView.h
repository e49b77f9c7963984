#pragma once
// The plain table view. It never pushes data: it asks its data source for counts when it
// reloads, for heights and header titles before it lays out, and for cells only for the rows
// that end up on screen, at layout time. `cellForRowAtIndexPath:` on the table answers only for
// rows on screen. Batch updates nest and are applied and validated at the outermost end with
// the platform's arithmetic and messages. Cells are reused per identifier for real: a queued
// cell comes back with whatever its last row left on it.
//
// Coordinates: cells are subviews laid out in content coordinates (row y from the top of the
// content); the table's bounds origin is its content offset, so a cell's place on screen is
// the table's frame origin plus its frame origin minus the content offset.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/TableUpdate.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UIView.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NSIndexPath;
class NSIndexSet;
class UITableViewDataSource;
class UITableViewDelegate;

/// `UITableViewStyle`.
enum UITableViewStyle : NSInteger { UITableViewStylePlain = 0, UITableViewStyleGrouped = 1 };

/// `UITableViewCellSeparatorStyle`.
enum UITableViewCellSeparatorStyle : NSInteger {
    UITableViewCellSeparatorStyleNone = 0,
    UITableViewCellSeparatorStyleSingleLine = 1,
    UITableViewCellSeparatorStyleSingleLineEtched = 2,
};

/// `UITableViewRowAnimation`.
enum UITableViewRowAnimation : NSInteger {
    UITableViewRowAnimationFade = 0,
    UITableViewRowAnimationRight = 1,
    UITableViewRowAnimationLeft = 2,
    UITableViewRowAnimationTop = 3,
    UITableViewRowAnimationBottom = 4,
    UITableViewRowAnimationNone = 5,
    UITableViewRowAnimationMiddle = 6,
    UITableViewRowAnimationAutomatic = 100,
};

/// `UITableViewScrollPosition`.
enum UITableViewScrollPosition : NSInteger {
    UITableViewScrollPositionNone = 0,
    UITableViewScrollPositionTop = 1,
    UITableViewScrollPositionMiddle = 2,
    UITableViewScrollPositionBottom = 3,
};

/// `UITableView` (plain style; a grouped table is laid out the same way).
class UITableView : public UIView {
  public:
    static constexpr const char* kClassName = "UITableView";
    using Super = UIView;

    /// The default row height.
    static constexpr CGFloat kDefaultRowHeight = 44;
    /// The plain style's header height (iOS 6; iOS 7 looks about the same).
    static constexpr CGFloat kDefaultSectionHeaderHeight = 22;
    /// How long row insert/delete animations and animated scrolls take.
    static constexpr NSTimeInterval kRowAnimationDuration = 0.3;

    /// A section header on screen, for drawing.
    struct VisibleHeader {
        NSInteger section = 0;
        std::optional<std::string> title;
        /// In content coordinates, where the header sits in the layout.
        CGRect frame;
        /// Where it is drawn: plain headers stick to the top while their section scrolls under.
        CGRect floatingFrame;
    };
    /// A cell of a deleted or reloaded row still animating out.
    struct DyingCell {
        std::shared_ptr<UITableViewCell> cell;
        UITableViewRowAnimation animation = UITableViewRowAnimationFade;
        NSTimeInterval start = 0;
        NSTimeInterval end = 0;
    };
    /// One row or section change of the last applied batch, for drawing its animation.
    struct RowAnimation {
        enum class Kind { InsertRow, DeleteRow, ReloadRow, InsertSection, DeleteSection, ReloadSection };
        Kind kind = Kind::InsertRow;
        NSInteger section = 0;
        NSInteger row = 0;
        UITableViewRowAnimation animation = UITableViewRowAnimationFade;
        NSTimeInterval start = 0;
        NSTimeInterval end = 0;
    };

    UITableView();

    /// `initWithFrame:style:`.
    void initWithFrameStyle(CGRect frame, UITableViewStyle style);
    /// A new table made with `initWithFrame:style:`.
    static std::shared_ptr<UITableView> withFrameStyle(CGRect frame, UITableViewStyle style);

    [[nodiscard]] UITableViewStyle style() const { return style_; }

    // Data source and delegate: neither is retained.
    [[nodiscard]] std::shared_ptr<UITableViewDataSource> dataSource() const { return dataSource_.lock(); }
    /// Setting the data source makes the table load afresh at its next layout.
    void setDataSource(std::weak_ptr<UITableViewDataSource> dataSource);
    [[nodiscard]] std::shared_ptr<UITableViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UITableViewDelegate> delegate);

    // Appearance.
    [[nodiscard]] CGFloat rowHeight() const { return rowHeight_; }
    void setRowHeight(CGFloat height);
    [[nodiscard]] CGFloat sectionHeaderHeight() const { return sectionHeaderHeight_; }
    void setSectionHeaderHeight(CGFloat height);
    [[nodiscard]] UITableViewCellSeparatorStyle separatorStyle() const { return separatorStyle_; }
    void setSeparatorStyle(UITableViewCellSeparatorStyle style) { separatorStyle_ = style; }
    /// Drawn behind every row and header, sized to the table, not scrolling; nil by default.
    [[nodiscard]] const std::shared_ptr<UIView>& backgroundView() const { return backgroundView_; }
    void setBackgroundView(std::shared_ptr<UIView> view);
    [[nodiscard]] const std::shared_ptr<UIView>& tableHeaderView() const { return tableHeaderView_; }
    void setTableHeaderView(std::shared_ptr<UIView> view);
    [[nodiscard]] const std::shared_ptr<UIView>& tableFooterView() const { return tableFooterView_; }
    void setTableFooterView(std::shared_ptr<UIView> view);

    // Loading and the table's own model (the counts it last fetched plus recorded changes).
    /// `reloadData`: queues every cell on screen for reuse, clears the selection, fetches the
    /// section and row counts now; heights and cells follow at the next layout.
    void reloadData();
    /// `numberOfSections`: the table's cached count, not a fresh question to the data source.
    [[nodiscard]] NSInteger numberOfSections();
    /// `numberOfRowsInSection:`: the cached count; 0 for a section that does not exist.
    [[nodiscard]] NSInteger numberOfRowsInSection(NSInteger section);

    // Geometry.
    [[nodiscard]] CGSize contentSize();
    [[nodiscard]] CGPoint contentOffset() const { return bounds().origin; }
    /// `setContentOffset:` = not animated: the value changes at once (not clamped) and the
    /// delegate hears scrollViewDidScroll:.
    void setContentOffset(CGPoint offset);
    /// `setContentOffset:animated:`. Animated, the value read back stays the old one until the
    /// scroll animation ends, then scrollViewDidEndScrollingAnimation: arrives.
    void setContentOffsetAnimated(CGPoint offset, bool animated);
    /// The offset drawn at `moment` while an animated scroll runs, else the content offset.
    [[nodiscard]] CGPoint presentationContentOffset(NSTimeInterval moment) const;
    /// `rectForRowAtIndexPath:` in content coordinates; zero for a row that does not exist.
    [[nodiscard]] CGRect rectForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath);
    /// `rectForHeaderInSection:`.
    [[nodiscard]] CGRect rectForHeaderInSection(NSInteger section);
    /// `indexPathForRowAtPoint:` (content coordinates); nil off the rows.
    [[nodiscard]] std::shared_ptr<NSIndexPath> indexPathForRowAtPoint(CGPoint point);
    /// `scrollToRowAtIndexPath:atScrollPosition:animated:`.
    void scrollToRowAtIndexPathAtScrollPositionAnimated(const std::shared_ptr<NSIndexPath>& indexPath,
                                                        UITableViewScrollPosition position, bool animated);

    // Cells.
    /// `dequeueReusableCellWithIdentifier:`: a queued cell of that identifier (after
    /// prepareForReuse), or nil when none is queued.
    std::shared_ptr<UITableViewCell> dequeueReusableCellWithIdentifier(const std::string& identifier);
    /// `cellForRowAtIndexPath:`: the cell laid out for a row on screen; nil for any other row,
    /// for rows out of range, and before the first layout. Never asks the data source.
    [[nodiscard]] std::shared_ptr<UITableViewCell>
    cellForRowAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath) const;
    /// `visibleCells`, top to bottom.
    [[nodiscard]] std::vector<std::shared_ptr<UITableViewCell>> visibleCells() const;
    /// `indexPathsForVisibleRows`, top to bottom (rows with a cell laid out).
    [[nodiscard]] std::vector<std::shared_ptr<NSIndexPath>> indexPathsForVisibleRows() const;
    /// `indexPathForCell:`: nil unless the cell is on screen.
    [[nodiscard]] std::shared_ptr<NSIndexPath>
    indexPathForCell(const std::shared_ptr<UITableViewCell>& cell) const;
    /// Headers of the sections on screen (after the last layout).
    [[nodiscard]] const std::vector<VisibleHeader>& visibleHeaders() const { return headers_; }
    /// Cells of deleted rows still animating out (they are queued for reuse when it ends).
    [[nodiscard]] const std::vector<DyingCell>& dyingCells() const { return dying_; }
    /// The row changes of the last batch, with their animations.
    [[nodiscard]] const std::vector<RowAnimation>& lastRowAnimations() const { return rowAnimations_; }
    /// How many cells wait in the queue of an identifier.
    [[nodiscard]] std::size_t queuedCellCount(const std::string& identifier) const;

    // Batch updates.
    /// `beginUpdates`: opens (or nests) a batch; nothing is asked of the data source until the
    /// outermost endUpdates.
    void beginUpdates();
    /// `endUpdates`: at the outermost level asks the data source for every count, validates
    /// the batch (raising NSInternalInconsistencyException as the platform does), applies it
    /// and lays out at once. An endUpdates without a batch raises too.
    void endUpdates();
    /// True inside a batch.
    [[nodiscard]] bool isInBatch() const { return updateDepth_ > 0; }
    /// Outside a batch each of these is a batch of its own: the data source must already agree.
    void insertSectionsWithRowAnimation(const std::shared_ptr<NSIndexSet>& sections,
                                        UITableViewRowAnimation animation);
    void deleteSectionsWithRowAnimation(const std::shared_ptr<NSIndexSet>& sections,
                                        UITableViewRowAnimation animation);
    void reloadSectionsWithRowAnimation(const std::shared_ptr<NSIndexSet>& sections,
                                        UITableViewRowAnimation animation);
    void insertRowsAtIndexPathsWithRowAnimation(const std::vector<std::shared_ptr<NSIndexPath>>& indexPaths,
                                                UITableViewRowAnimation animation);
    void deleteRowsAtIndexPathsWithRowAnimation(const std::vector<std::shared_ptr<NSIndexPath>>& indexPaths,
                                                UITableViewRowAnimation animation);
    void reloadRowsAtIndexPathsWithRowAnimation(const std::vector<std::shared_ptr<NSIndexPath>>& indexPaths,
                                                UITableViewRowAnimation animation);
    /// `moveRowAtIndexPath:toIndexPath:` (programmatic).
    void moveRowAtIndexPathToIndexPath(const std::shared_ptr<NSIndexPath>& from,
                                       const std::shared_ptr<NSIndexPath>& to);

    // Editing.
    [[nodiscard]] bool isEditing() const { return editing_; }
    /// `setEditing:` = setEditing:animated:NO.
    void setEditing(bool editing) { setEditingAnimated(editing, false); }
    /// `setEditing:animated:`: forwards setEditing:animated: to the cells on screen and gives
    /// each row its controls: delete (or insert) when editable, reorder only when the data source
    /// implements the move and does not refuse the row. Ends a swipe in progress first.
    void setEditingAnimated(bool editing, bool animated);
    /// The last change of editing mode: the controls move in or out from `start` to `end` (the
    /// same moment when not animated), over the row animations' duration.
    struct EditingTransition {
        bool editing = false;
        NSTimeInterval start = 0;
        NSTimeInterval end = 0;
    };
    [[nodiscard]] const EditingTransition& lastEditingTransition() const { return editingTransition_; }
    /// The row whose swipe-to-delete button shows, if any.
    [[nodiscard]] std::shared_ptr<NSIndexPath> swipedRow() const;
    /// The row whose Delete confirmation shows in editing mode after a minus tap, if any.
    [[nodiscard]] std::shared_ptr<NSIndexPath> deleteConfirmationRow() const;

    // Selection.
    [[nodiscard]] bool allowsSelection() const { return allowsSelection_; }
    void setAllowsSelection(bool allows) { allowsSelection_ = allows; }
    [[nodiscard]] bool allowsSelectionDuringEditing() const { return allowsSelectionDuringEditing_; }
    void setAllowsSelectionDuringEditing(bool allows) { allowsSelectionDuringEditing_ = allows; }
    [[nodiscard]] bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
    void setAllowsMultipleSelection(bool allows) { allowsMultipleSelection_ = allows; }
    /// `indexPathForSelectedRow`: nil when nothing is selected.
    [[nodiscard]] std::shared_ptr<NSIndexPath> indexPathForSelectedRow() const;
    [[nodiscard]] std::vector<std::shared_ptr<NSIndexPath>> indexPathsForSelectedRows() const;
    /// `selectRowAtIndexPath:animated:scrollPosition:`: no delegate messages.
    void selectRowAtIndexPathAnimatedScrollPosition(const std::shared_ptr<NSIndexPath>& indexPath,
                                                    bool animated, UITableViewScrollPosition position);
    /// `deselectRowAtIndexPath:animated:`: no delegate messages.
    void deselectRowAtIndexPathAnimated(const std::shared_ptr<NSIndexPath>& indexPath, bool animated);

    // What the user does. Each returns true when the gesture reached the table.
    /// Taps a row on screen: highlight, willSelect (may redirect or refuse), deselect the
    /// previous row, select, didSelect. A tap while a Delete button shows only hides it. In
    /// editing mode nothing is selected unless allowsSelectionDuringEditing.
    bool simulateTapOnRow(const std::shared_ptr<NSIndexPath>& indexPath);
    /// Swipes across a row on screen: shows its Delete button (willBeginEditingRowAtIndexPath:,
    /// editing becomes YES) when not in editing mode, the data source implements the commit,
    /// the row is editable and its style is Delete. A swipe while a Delete button shows only
    /// hides that one.
    bool simulateSwipeOnRow(const std::shared_ptr<NSIndexPath>& indexPath);
    /// Taps the Delete button that shows (after a swipe or a minus tap): commitEditingStyle:
    /// Delete, then the swipe ends (didEndEditingRowAtIndexPath:).
    bool simulateTapDeleteConfirmation();
    /// Taps outside the Delete button, or starts scrolling: the button hides and the swipe
    /// ends (didEndEditingRowAtIndexPath:) without a commit.
    bool simulateTapOutside();
    /// In editing mode, taps a row's editing control: the minus shows the Delete confirmation;
    /// the plus commits an insert.
    bool simulateTapEditingControl(const std::shared_ptr<NSIndexPath>& indexPath);
    /// In editing mode, drags a row by its reorder control and drops it at `to` (its final
    /// place). The delegate may retarget; the table moves the row on screen and updates its
    /// own counts without asking the data source, then sends moveRowAtIndexPath:toIndexPath:.
    bool simulateDrag(const std::shared_ptr<NSIndexPath>& from, const std::shared_ptr<NSIndexPath>& to);
    /// The user scrolls to an offset: any Delete button hides first.
    void simulateScroll(CGPoint offset);
    /// In editing mode, the user holds row `from` by its reorder control and drags it without
    /// letting go: the row lifts, drawn in front with its top at `liftedTop` (content
    /// coordinates), and the rows and headers between its place and `to` (where a drop now would
    /// put it, as simulateDrag takes it) move aside by its height, opening a gap there. Nothing is
    /// asked or told; simulateDrag drops the row, simulateReorderCancel lets it go back.
    bool simulateReorderHover(const std::shared_ptr<NSIndexPath>& from,
                              const std::shared_ptr<NSIndexPath>& to, CGFloat liftedTop);
    /// The held row goes back to its place without a move.
    void simulateReorderCancel();
    /// How opaque a lifted row's cell is drawn.
    static constexpr CGFloat kLiftedRowAlpha = 0.85f;
    /// The row held by its reorder control, nil when none.
    [[nodiscard]] std::shared_ptr<NSIndexPath> reorderingRow() const;

    /// What an observer is told about.
    enum class Change {
        /// The table's model changed: a reload, a batch applied, a row dropped after a drag.
        Model,
        /// A layout pass ended: exactly the rows in the viewport have cells.
        Layout,
    };
    /// Calls `observer` after every change of the table's model and after every layout pass.
    /// For checkers and inspectors; returns a token.
    std::uint64_t addChangeObserver(std::function<void(UITableView&, Change)> observer);
    void removeChangeObserver(std::uint64_t token);

  protected:
    void layoutSubviews() override;

  private:
    using Row = ui::RowIndex;
    struct SectionGeometry {
        CGFloat top = 0;
        CGFloat headerHeight = 0;
        std::vector<CGFloat> rowHeights;
        std::vector<CGFloat> rowTops;
        CGFloat bottom = 0;
    };
    struct PendingBatch {
        ui::RowCounts before;
        ui::TableUpdate update;
        std::vector<RowAnimation> animations;
    };

    std::shared_ptr<UITableView> me();
    static std::shared_ptr<NSIndexPath> path(Row row);
    static std::optional<Row> rowOf(const std::shared_ptr<NSIndexPath>& indexPath);
    void ensureLoaded();
    ui::RowCounts fetchCounts();
    void ensureGeometry();
    void computeGeometry();
    [[nodiscard]] bool rowExists(Row row) const;
    [[nodiscard]] CGRect rectOf(Row row) const;
    [[nodiscard]] std::vector<Row> rowsInViewport(CGFloat margin = 0) const;
    /// Where a row's cell is laid out: its place, or aside of a held row's gap.
    [[nodiscard]] CGRect laidOutRect(Row row) const;
    /// How far a held row's gap moves section `section`'s header.
    [[nodiscard]] CGFloat headerShift(NSInteger section) const;
    void enqueue(const std::shared_ptr<UITableViewCell>& cell);
    void displayCell(Row row, const std::shared_ptr<UITableViewCell>& cell);
    void configureEditingControls(Row row, const std::shared_ptr<UITableViewCell>& cell);
    void applyBatch();
    void scheduleDyingCleanup();
    void endSwipe();
    void notifyChange(Change change);
    std::shared_ptr<UITableViewCell> cellAt(Row row) const;
    void recordSections(const std::shared_ptr<NSIndexSet>& sections, RowAnimation::Kind kind,
                        UITableViewRowAnimation animation);
    void recordRows(const std::vector<std::shared_ptr<NSIndexPath>>& rows, RowAnimation::Kind kind,
                    UITableViewRowAnimation animation);

    UITableViewStyle style_ = UITableViewStylePlain;
    std::weak_ptr<UITableViewDataSource> dataSource_;
    std::weak_ptr<UITableViewDelegate> delegate_;
    CGFloat rowHeight_ = kDefaultRowHeight;
    CGFloat sectionHeaderHeight_ = kDefaultSectionHeaderHeight;
    UITableViewCellSeparatorStyle separatorStyle_ = UITableViewCellSeparatorStyleSingleLine;
    std::shared_ptr<UIView> backgroundView_;
    std::shared_ptr<UIView> tableHeaderView_;
    std::shared_ptr<UIView> tableFooterView_;

    bool loaded_ = false;
    ui::RowCounts counts_;
    bool geometryValid_ = false;
    std::vector<SectionGeometry> geometry_;
    CGFloat contentHeight_ = 0;

    std::map<Row, std::shared_ptr<UITableViewCell>> visible_;
    std::map<std::string, std::vector<std::shared_ptr<UITableViewCell>>> queues_;
    std::vector<DyingCell> dying_;
    std::vector<VisibleHeader> headers_;
    std::vector<RowAnimation> rowAnimations_;

    int updateDepth_ = 0;
    PendingBatch batch_;

    bool editing_ = false;
    EditingTransition editingTransition_;
    /// The row swiped, as it was when swiped (the row the end-of-editing message names).
    std::optional<Row> swipeRow_;
    /// The cell showing the swipe's Delete button.
    std::shared_ptr<UITableViewCell> swipeCell_;
    /// In editing mode, the row whose minus was tapped, and its cell.
    std::optional<Row> confirmRow_;
    std::shared_ptr<UITableViewCell> confirmCell_;

    bool allowsSelection_ = true;
    bool allowsSelectionDuringEditing_ = false;
    bool allowsMultipleSelection_ = false;
    std::set<Row> selected_;

    struct ScrollAnimation {
        CGPoint from;
        CGPoint to;
        NSTimeInterval start = 0;
        std::uint64_t token = 0;
    };
    std::optional<ScrollAnimation> scroll_;

    /// A row held by its reorder control, where it would land, and the alpha its cell had
    /// before it was lifted (a lifted row shows what lies under it).
    struct Reorder {
        Row from;
        Row to;
        CGFloat top = 0;
        std::shared_ptr<UITableViewCell> cell;
        CGFloat alpha = 1;
    };
    std::optional<Reorder> reorder_;
    /// The held row is let go: its cell's alpha comes back.
    void endReorder();

    std::uint64_t nextObserver_ = 1;
    std::vector<std::pair<std::uint64_t, std::function<void(UITableView&, Change)>>> observers_;
};
