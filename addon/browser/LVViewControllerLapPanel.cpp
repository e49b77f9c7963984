// The lap panel: the laps table slides in over the table of results when a result is tapped,
// settles a moment later, and slides out again when the top bar's back control is taken.
//
// Every move is relative to the panel's current frame: in (-(W + 20) on x, +20 on width), settle
// (+20, -20) and out (+W on x) add up to nothing, so the panel always ends at x = W with its first
// width, whichever of the settle step and the pop comes first.

#include "addon/browser/BrowserImages.h"
#include "addon/browser/BrowserMessages.h"
#include "addon/browser/LVViewController.h"
#include "addon/store/ClockText.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSIndexSet.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PerformSelector.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"

namespace {

constexpr NSTimeInterval kSlideDuration = 0.3;
constexpr NSTimeInterval kSettleDuration = 0.2;
/// The settle step starts when the slide-in ends.
constexpr NSTimeInterval kSettleDelay = 0.3;

/// The record at (s, i) of a fresh read of the file; nil when the file no longer holds it.
id recordInFile(std::int32_t section, std::int32_t index) {
    lv::SavedTimesRead current = lv::SavedTimesStore::read();
    if (!current.root || section < 0 || index < 0) {
        return nullptr;
    }
    lv::SavedTimesDocument document(current.root);
    const auto names = document.sectionNames();
    if (static_cast<std::size_t>(section) >= names.size()) {
        return nullptr;
    }
    auto records = document.records(names[static_cast<std::size_t>(section)]);
    if (!records || static_cast<std::size_t>(index) >= records->count()) {
        return nullptr;
    }
    return records->objectAtIndex(static_cast<std::size_t>(index));
}

} // namespace

void LVViewController::tableViewDidSelectRowAtIndexPath(TableRef tableView, PathRef indexPath) {
    // The laps table never allows selection; only a result can be chosen.
    if (isLapsTable(tableView) || !indexPath) {
        return;
    }
    NSInteger section = indexPath->section();
    const NSInteger row = indexPath->row();
    // A result tapped while an emptied section waits to leave the table: the section leaves
    // first, and the result is found where it stands then.
    auto tapped = indexPath;
    if (auto removed = completePendingSectionRemoval()) {
        auto now = sectionAfterRemoval(section, *removed);
        if (!now) {
            return;
        }
        section = *now;
        tapped = NSIndexPath::indexPathForRowInSection(row, section);
    }
    rt::send(self(), lv::browser::setAllLapsForSectionWithIndex, static_cast<std::int32_t>(section),
             static_cast<std::int32_t>(row));
    // Chosen anew on every tap.
    lapsTable_->setBackgroundView(lv::stripeBackgroundView());

    const lv::SavedTimeView saved = lv::readSavedTime(recordAt(section, row));
    topBar_->pushNavigationItemAnimated(UINavigationItem::withTitle(lv::totalText(saved.total)), true);

    // The right edge lands where it will stay while the left edge overshoots.
    const CGFloat width = view()->frame().size.width;
    moveLapsTable(-(width + kPanelOvershoot), kPanelOvershoot, kSlideDuration, UIViewAnimationCurveEaseOut);
    savedTable_->setAllowsSelection(false);
    performSelectorWithObjectAfterDelay(self(), lv::browser::tableViewNextAnimationWithCellToDeselect.sel(),
                                        tapped, kSettleDelay);
}

void LVViewController::setAllLapsForSectionWithIndex(std::int32_t section, std::int32_t index) {
    // The laps come from the file, not from the in-memory list.
    const lv::SavedTimeView saved = lv::readSavedTime(recordInFile(section, index));
    if (!allLaps_) {
        allLaps_ = NSMutableArray::with();
    } else {
        allLaps_->removeAllObjects();
    }
    for (float lap : saved.laps) {
        allLaps_->addObject(NSString::with(lv::lapText(lap)));
    }
    lapsTable_->reloadData();
}

void LVViewController::tableViewNextAnimationWithCellToDeselect(id indexPath) {
    moveLapsTable(kPanelOvershoot, -kPanelOvershoot, kSettleDuration, UIViewAnimationCurveEaseIn);
    savedTable_->deselectRowAtIndexPathAnimated(rt::cast<NSIndexPath>(indexPath), true);
}

bool LVViewController::navigationBarShouldPopItem(BarRef /*bar*/, ItemRef /*item*/) {
    moveLapsTable(view()->frame().size.width, 0, kSlideDuration, std::nullopt);
    // Stops a scroll of the laps that is still running.
    lapsTable_->setContentOffsetAnimated(lapsTable_->contentOffset(), true);
    return true;
}

void LVViewController::navigationBarDidPopItem(BarRef /*bar*/, ItemRef /*item*/) {
    lapsTable_->setContentOffset(CGPointMake(0, 0));
    savedTable_->setAllowsSelection(true);
}

void LVViewController::moveLapsTable(CGFloat dx, CGFloat dWidth, NSTimeInterval duration,
                                     std::optional<UIViewAnimationCurve> curve) {
    UIView::beginAnimationsContext();
    if (curve) {
        UIView::setAnimationCurve(*curve);
    }
    UIView::setAnimationDuration(duration);
    CGRect frame = lapsTable_->frame();
    frame.origin.x += dx;
    frame.size.width += dWidth;
    lapsTable_->setFrame(frame);
    UIView::commitAnimations();
}
