// Edit mode, deletes, moves and the swipe to delete of the table of results.
//
// Every change reads the file afresh, changes the in-memory list in place, writes, rebuilds the
// list from the file and then shows the change in the table. A change made on a list that the
// file no longer holds (another writer changed the section since it was read) writes nothing and
// reloads the table from the file, so the user sees the current results and can do it again. The table checks
// each batch against what the browser answers at its end, so a batch is only made when the browser now
// answers exactly what the batch leads to. When the file was removed or damaged from outside, or a write
// failed, the table is reloaded from the rebuilt list instead: it never shows what the file does
// not hold, and no batch is ever refused.
//
// A section that a delete or a move empties leaves the file at once and the table a moment later:
// the batch that takes it out is opened now and closed by the delayed deleteEmptySections:. In
// between the table shows the section as it was. A person cannot finish another change within
// that moment; if one arrives all the same, or the browser leaves the screen, the waiting section
// leaves the table first.

#include "addon/browser/BrowserMessages.h"
#include "addon/browser/LVViewController.h"
#include "addon/store/SavedTimesStore.h"
#include "addon/views/LVLabel.h"
#include "addon/views/LVTableViewCell.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSIndexSet.h"
#include "platform/foundation/PerformSelector.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"

#include <algorithm>

namespace {

const char* const kEditTitle = "Edit";
const char* const kDoneTitle = "Done";
const char* const kAddTitle = "Add";

/// Row counts without the sections of `removed`.
std::vector<NSInteger> withoutSections(std::vector<NSInteger> counts, const NSIndexSet& removed) {
    for (auto it = removed.indexSetStorage().rbegin(); it != removed.indexSetStorage().rend(); ++it) {
        if (*it < counts.size()) {
            counts.erase(counts.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
    return counts;
}

bool holdsRow(const std::vector<NSInteger>& counts, NSInteger section, NSInteger row) {
    return section >= 0 && row >= 0 && static_cast<std::size_t>(section) < counts.size() &&
           row < counts[static_cast<std::size_t>(section)];
}

} // namespace

// ---- Edit mode -------------------------------------------------------------------------------

void LVViewController::topBarButtonClicked(id sender) {
    auto item = rt::cast<UIBarButtonItem>(sender);
    auto top = topBar_ ? topBar_->topItem() : nullptr;
    if (!item || !top) {
        return;
    }
    // While the lap panel is shown its item is on top and has no right item, so edit mode only
    // changes with the root item on top.
    if (item == top->rightBarButtonItem()) {
        if (item->title() == kEditTitle) {
            editMode_ = true;
            // The labels start moving before the table starts its own editing animation.
            slideResultLabels(kMainLabelEditingX, 0);
            item->setTitle(std::string(kDoneTitle));
            item->setStyle(UIBarButtonItemStyleDone);
            savedTable_->setEditingAnimated(true, true);
            // Made anew each time; the root item alone holds it.
            top->setLeftBarButtonItem(UIBarButtonItem::withTitle(std::string(kAddTitle),
                                                                 UIBarButtonItemStyleDone, self(),
                                                                 lv::browser::topBarButtonClicked.sel()));
        } else if (item->title() == kDoneTitle) {
            editMode_ = false;
            slideResultLabels(kMainLabelX, 1);
            item->setTitle(std::string(kEditTitle));
            item->setStyle(UIBarButtonItemStylePlain);
            savedTable_->setEditingAnimated(false, true);
            top->setLeftBarButtonItem(nullptr);
        }
        return;
    }
    if (item == top->leftBarButtonItem() && item->title() == kAddTitle) {
        showNewSectionDialog();
    }
}

void LVViewController::slideResultLabels(CGFloat mainLabelX, CGFloat lapsAlpha) {
    // Every row of the table as it stands, section by section; only rows on screen have a cell,
    // the others are placed when they are made.
    const NSInteger sections = savedTable_->numberOfSections();
    for (NSInteger s = 0; s < sections; ++s) {
        const NSInteger rows = savedTable_->numberOfRowsInSection(s);
        for (NSInteger r = 0; r < rows; ++r) {
            auto cell = std::dynamic_pointer_cast<LVTableViewCell>(
                savedTable_->cellForRowAtIndexPath(NSIndexPath::indexPathForRowInSection(r, s)));
            if (!cell || !cell->mainLabel() || !cell->lapsLabel()) {
                continue;
            }
            // The label goes to the mode's place rather than a step of 30 from wherever it is, so
            // a cell that came on screen in the other mode never ends beside its place.
            UIView::beginAnimationsContext();
            UIView::setAnimationCurve(UIViewAnimationCurveEaseInOut);
            UIView::setAnimationDuration(kEditModeSlideDuration);
            CGRect frame = cell->mainLabel()->frame();
            frame.origin.x = mainLabelX;
            cell->mainLabel()->setFrame(frame);
            cell->lapsLabel()->setAlpha(lapsAlpha);
            UIView::commitAnimations();
        }
    }
}

// ---- Swipe to delete -------------------------------------------------------------------------

void LVViewController::tableViewWillBeginEditingRowAtIndexPath(TableRef /*tableView*/, PathRef indexPath) {
    fadeLapCount(indexPath, 0);
}

void LVViewController::tableViewDidEndEditingRowAtIndexPath(TableRef /*tableView*/, PathRef indexPath) {
    // Edit mode ends a swipe as it comes on, after it has hidden every lap count: the swiped row's
    // count stays hidden with the others.
    fadeLapCount(indexPath, editMode_ ? 0 : 1);
}

bool LVViewController::isSwipedRow(NSInteger section, NSInteger row) const {
    auto swiped = savedTable_ ? savedTable_->swipedRow() : nullptr;
    return swiped && swiped->section() == section && swiped->row() == row;
}

void LVViewController::fadeLapCount(const std::shared_ptr<NSIndexPath>& indexPath, CGFloat alpha) {
    // The row may be gone by now (its delete was confirmed): then there is no cell to fade.
    auto cell = std::dynamic_pointer_cast<LVTableViewCell>(savedTable_->cellForRowAtIndexPath(indexPath));
    if (!cell || !cell->lapsLabel()) {
        return;
    }
    // The platform's default duration and curve; the main label stays where it is.
    UIView::beginAnimationsContext();
    cell->lapsLabel()->setAlpha(alpha);
    UIView::commitAnimations();
}

// ---- Keeping the table in step with the file -----------------------------------------------

std::vector<NSInteger> LVViewController::savedTableCounts() {
    std::vector<NSInteger> counts;
    const NSInteger sections = savedTable_->numberOfSections();
    for (NSInteger s = 0; s < sections; ++s) {
        counts.push_back(savedTable_->numberOfRowsInSection(s));
    }
    return counts;
}

std::vector<NSInteger> LVViewController::answeredCounts() {
    std::vector<NSInteger> counts;
    const NSInteger sections = numberOfSectionsInTableView(savedTable_);
    for (NSInteger s = 0; s < sections; ++s) {
        counts.push_back(tableViewNumberOfRowsInSection(savedTable_, s));
    }
    return counts;
}

void LVViewController::updateSavedTable(const std::vector<NSInteger>& expected,
                                        const std::function<void()>& changes) {
    if (answeredCounts() != expected) {
        savedTable_->reloadData();
        return;
    }
    savedTable_->beginUpdates();
    changes();
    savedTable_->endUpdates();
}

void LVViewController::reloadFromFile() {
    rt::send(self(), lv::browser::refreshAllStopWatchSavedTimes);
    savedTable_->reloadData();
}

void LVViewController::removeSectionLater(std::size_t section, const std::string& name,
                                          const std::vector<NSInteger>& expected) {
    rt::send(self(), lv::browser::refreshAllStopWatchSavedTimes);
    if (answeredCounts() != expected) {
        savedTable_->reloadData();
        return;
    }
    // Left open until deleteEmptySections: closes it.
    savedTable_->beginUpdates();
    pendingSectionRemoval_ = NSIndexSet::indexSetWithIndex(section);
    pendingSectionNames_ = {name};
    performSelectorWithObjectAfterDelay(self(), lv::browser::deleteEmptySections.sel(),
                                        pendingSectionRemoval_, kSectionRemovalDelay);
}

std::shared_ptr<NSIndexSet> LVViewController::completePendingSectionRemoval() {
    auto pending = pendingSectionRemoval_;
    if (!pending) {
        return nullptr;
    }
    cancelPreviousPerformRequestsWithTargetSelectorObject(self(), lv::browser::deleteEmptySections.sel(),
                                                          pending);
    rt::send(self(), lv::browser::deleteEmptySections, pending);
    return pending;
}

std::optional<NSInteger> LVViewController::sectionAfterRemoval(NSInteger section, const NSIndexSet& removed) {
    if (section < 0 || removed.containsIndex(static_cast<NSUInteger>(section))) {
        return std::nullopt;
    }
    const auto below =
        std::count_if(removed.indexSetStorage().begin(), removed.indexSetStorage().end(),
                      [section](NSUInteger index) { return index < static_cast<NSUInteger>(section); });
    return section - static_cast<NSInteger>(below);
}

void LVViewController::deleteEmptySections(id sections) {
    // Only the batch a removal opened is closed here; without one there is nothing to close.
    if (!pendingSectionRemoval_) {
        return;
    }
    pendingSectionRemoval_.reset();
    pendingSectionNames_.clear();
    auto removed = rt::cast<NSIndexSet>(sections);
    const std::vector<NSInteger> shown = savedTableCounts();
    if (removed && answeredCounts() == withoutSections(shown, *removed)) {
        savedTable_->deleteSectionsWithRowAnimation(removed, UITableViewRowAnimationFade);
    } else {
        // The file changed from outside meanwhile: the batch still has to be closed, and replacing
        // every section is a batch the table takes whatever the browser answers now.
        savedTable_->deleteSectionsWithRowAnimation(
            NSIndexSet::indexSetWithIndexesInRange(0, static_cast<NSUInteger>(shown.size())),
            UITableViewRowAnimationFade);
        savedTable_->insertSectionsWithRowAnimation(
            NSIndexSet::indexSetWithIndexesInRange(0, static_cast<NSUInteger>(answeredCounts().size())),
            UITableViewRowAnimationFade);
    }
    savedTable_->endUpdates();
}

void LVViewController::reloadDeley() {
    savedTable_->reloadData();
}

void LVViewController::viewWillDisappear(bool animated) {
    UIViewController::viewWillDisappear(animated);
    completePendingSectionRemoval();
}

// ---- Delete and move -------------------------------------------------------------------------

void LVViewController::tableViewCommitEditingStyleForRowAtIndexPath(
    const std::shared_ptr<UITableView>& /*tableView*/, UITableViewCellEditingStyle editingStyle,
    const std::shared_ptr<NSIndexPath>& indexPath) {
    if (editingStyle != UITableViewCellEditingStyleDelete || !indexPath) {
        return;
    }
    NSInteger section = indexPath->section();
    const NSInteger row = indexPath->row();
    // The row was chosen in the table as shown, with a waiting emptied section still in it.
    if (auto removed = completePendingSectionRemoval()) {
        section = sectionAfterRemoval(section, *removed).value_or(-1);
    }
    std::vector<NSInteger> expected = savedTableCounts();
    // Kept alive here: the refresh replaces the browser's own reference while the store still
    // works on the list.
    auto list = allStopWatchSavedTimes_;
    if (!list || !holdsRow(expected, section, row)) {
        reloadFromFile();
        return;
    }
    --expected[static_cast<std::size_t>(section)];
    auto shownPath = NSIndexPath::indexPathForRowInSection(row, section);
    const lv::SavedTimesWrite outcome = lv::SavedTimesStore::deleteRecord(
        {*list, allStopWatchSectionNames_}, static_cast<std::size_t>(section), static_cast<std::size_t>(row),
        [&] {
            rt::send(self(), lv::browser::refreshAllStopWatchSavedTimes);
            updateSavedTable(expected, [&] {
                savedTable_->deleteRowsAtIndexPathsWithRowAnimation({shownPath}, UITableViewRowAnimationFade);
            });
        });
    if (!outcome.changeWritten) {
        reloadFromFile();
        return;
    }
    if (outcome.sectionsRead <= 1) {
        // The only section stays, even empty; the reload asks for its header afresh.
        performSelectorWithObjectAfterDelay(self(), lv::browser::reloadDeley.sel(), nullptr,
                                            kSectionRemovalDelay);
        return;
    }
    if (outcome.droppedSections) {
        expected.erase(expected.begin() + section);
        removeSectionLater(static_cast<std::size_t>(section), outcome.droppedNames.front(), expected);
    }
}

void LVViewController::tableViewMoveRowAtIndexPathToIndexPath(
    const std::shared_ptr<UITableView>& /*tableView*/, const std::shared_ptr<NSIndexPath>& from,
    const std::shared_ptr<NSIndexPath>& to) {
    if (!from || !to) {
        return;
    }
    NSInteger fromSection = from->section();
    NSInteger toSection = to->section();
    if (auto removed = completePendingSectionRemoval()) {
        // The row was dragged in the table as shown, with a waiting emptied section still in it;
        // the table has just been brought up to date and no longer shows that move.
        fromSection = sectionAfterRemoval(fromSection, *removed).value_or(-1);
        toSection = sectionAfterRemoval(toSection, *removed).value_or(-1);
    }
    auto list = allStopWatchSavedTimes_;
    if (!list || fromSection < 0 || toSection < 0 || from->row() < 0 || to->row() < 0) {
        reloadFromFile();
        return;
    }
    const lv::SavedTimesWrite outcome = lv::SavedTimesStore::moveRecord(
        {*list, allStopWatchSectionNames_}, static_cast<std::size_t>(fromSection),
        static_cast<std::size_t>(from->row()), static_cast<std::size_t>(toSection),
        static_cast<std::size_t>(to->row()));
    if (!outcome.changeWritten) {
        reloadFromFile();
        return;
    }
    // The table moved the row on screen before it told the browser: its own counts are what the
    // list must hold now.
    std::vector<NSInteger> shown = savedTableCounts();
    if (outcome.droppedSections && static_cast<std::size_t>(fromSection) < shown.size()) {
        shown.erase(shown.begin() + fromSection);
        removeSectionLater(static_cast<std::size_t>(fromSection), outcome.droppedNames.front(), shown);
        return;
    }
    // No section left the file, so the list already holds what the file holds and is not rebuilt;
    // only a table that no longer agrees (the file changed from outside) is reloaded.
    if (answeredCounts() != shown) {
        reloadFromFile();
    }
}
