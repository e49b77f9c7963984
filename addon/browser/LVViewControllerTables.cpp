// The browser as data source and delegate of its two tables. The table of results takes its
// header titles from a fresh read of the file at every call, and its sections, rows and cells from
// the in-memory list that the last refresh built from the file; the laps table shows the lap texts
// of the selected result.
//
// The file can change behind the browser's back (another program, a person editing it), so every
// index is checked: a section the file no longer lists has no title, and a row the in-memory list
// does not hold gives an empty cell, never an out-of-range fault.

#include "addon/browser/BrowserImages.h"
#include "addon/browser/LVViewController.h"
#include "addon/store/ClockText.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "addon/views/LVLabel.h"
#include "addon/views/LVTableViewCell.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSIndexSet.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/StringFormat.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UITableView.h"

#include <algorithm>

namespace {

constexpr CGFloat kSavedTimeRowHeight = 70;
constexpr CGFloat kLapRowHeight = 50;
const char* const kSavedTimeCellIdentifier = "Cell";
const char* const kLapCellIdentifier = "Cell2";
/// The lap number's distance from the view's right edge, and the labels' top in a lap row.
constexpr CGFloat kLapNumberInset = 60;
constexpr CGFloat kLapRowLabelY = 10;

void setText(const std::shared_ptr<LVLabel>& label, std::optional<std::string> text) {
    if (label) {
        label->setText(std::move(text));
    }
}

std::optional<std::string> dateText(const std::shared_ptr<NSDate>& date) {
    auto formatter = rt::make<NSDateFormatter>();
    formatter->setDateFormat("EEE, MMM d, y");
    auto text = formatter->stringFromDate(date);
    return text ? std::optional<std::string>(text->str()) : std::nullopt;
}

} // namespace

bool LVViewController::isLapsTable(const std::shared_ptr<UITableView>& tableView) const {
    return tableView && tableView == lapsTable_;
}

std::shared_ptr<NSArray> LVViewController::recordsInSection(NSInteger section) const {
    if (!allStopWatchSavedTimes_ || section < 0) {
        return nullptr;
    }
    // While an emptied section waits to leave the table, the table's sections are the list's with
    // that one still in its place, empty.
    if (pendingSectionRemoval_) {
        auto inList = sectionAfterRemoval(section, *pendingSectionRemoval_);
        if (!inList) {
            return nullptr;
        }
        section = *inList;
    }
    return allStopWatchSavedTimes_->objectAs<NSArray>(static_cast<std::size_t>(section));
}

std::vector<std::string> LVViewController::sectionNamesShown() const {
    std::vector<std::string> names = lv::SavedTimesStore::sectionNames();
    if (pendingSectionRemoval_) {
        std::size_t next = 0;
        for (NSUInteger index : pendingSectionRemoval_->indexes()) {
            const std::string name = next < pendingSectionNames_.size() ? pendingSectionNames_[next] : "";
            names.insert(names.begin() +
                             static_cast<std::ptrdiff_t>(std::min<std::size_t>(index, names.size())),
                         name);
            ++next;
        }
    }
    return names;
}

id LVViewController::recordAt(NSInteger section, NSInteger row) const {
    auto records = recordsInSection(section);
    if (!records || row < 0 || static_cast<std::size_t>(row) >= records->count()) {
        return nullptr;
    }
    return records->objectAtIndex(static_cast<std::size_t>(row));
}

NSInteger LVViewController::numberOfSectionsInTableView(const std::shared_ptr<UITableView>& tableView) {
    if (isLapsTable(tableView)) {
        return 1;
    }
    // As many sections as the file's section list had names at the last refresh, which the list
    // holds one entry for each. In normal use a fresh read gives the same number, since every change
    // of the file is followed by a refresh; when something else has changed the file meanwhile, the
    // table must still be told the number it was loaded with, or its next update or layout would
    // work from counts that no longer match its rows.
    const NSInteger listed =
        allStopWatchSavedTimes_ ? static_cast<NSInteger>(allStopWatchSavedTimes_->count()) : 0;
    // A section waiting to leave is still the table's until the batch that takes it out ends.
    return listed + (pendingSectionRemoval_ ? static_cast<NSInteger>(pendingSectionRemoval_->count()) : 0);
}

NSInteger LVViewController::tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>& tableView,
                                                           NSInteger section) {
    if (isLapsTable(tableView)) {
        return allLaps_ ? static_cast<NSInteger>(allLaps_->count()) : 0;
    }
    auto records = recordsInSection(section);
    return records ? static_cast<NSInteger>(records->count()) : 0;
}

std::optional<std::string>
LVViewController::tableViewTitleForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
                                                   NSInteger section) {
    if (isLapsTable(tableView)) {
        return std::string("Laps");
    }
    const std::vector<std::string> names = sectionNamesShown();
    if (section < 0 || static_cast<std::size_t>(section) >= names.size()) {
        return std::nullopt;
    }
    // The only section shows no header while it is empty: the "No Saved Times" label says it all.
    auto records = recordsInSection(section);
    if (names.size() == 1 && (!records || records->count() == 0)) {
        return std::nullopt;
    }
    // A section name is the user's text, shown exactly as stored.
    return names[static_cast<std::size_t>(section)];
}

CGFloat LVViewController::tableViewHeightForRowAtIndexPath(TableRef tableView, PathRef /*indexPath*/) {
    return isLapsTable(tableView) ? kLapRowHeight : kSavedTimeRowHeight;
}

bool LVViewController::tableViewCanEditRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                      const std::shared_ptr<NSIndexPath>& /*indexPath*/) {
    return !isLapsTable(tableView);
}

bool LVViewController::tableViewCanMoveRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                      const std::shared_ptr<NSIndexPath>& /*indexPath*/) {
    return !isLapsTable(tableView);
}

std::shared_ptr<UITableViewCell>
LVViewController::tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                 const std::shared_ptr<NSIndexPath>& indexPath) {
    if (isLapsTable(tableView)) {
        return lapCell(indexPath->row());
    }
    return savedTimeCell(indexPath->section(), indexPath->row());
}

std::shared_ptr<LVTableViewCell> LVViewController::savedTimeCell(NSInteger section, NSInteger row) {
    // A queued cell is used only when it still has all three labels, tested in the order main,
    // date, laps; anything else is left behind for a new one.
    auto cell = std::dynamic_pointer_cast<LVTableViewCell>(
        savedTable_->dequeueReusableCellWithIdentifier(kSavedTimeCellIdentifier));
    if (!cell || !cell->mainLabel() || !cell->dateLabel() || !cell->lapsLabel()) {
        cell = LVTableViewCell::make(UITableViewCellStyleDefault, std::string(kSavedTimeCellIdentifier));
    }
    id record = recordAt(section, row);
    std::optional<std::string> mainText;
    std::optional<std::string> date;
    std::optional<std::string> lapCount;
    // A row the in-memory list does not hold (the file changed from outside) shows an empty cell.
    if (record) {
        const lv::SavedTimeView saved = lv::readSavedTime(record);
        mainText = lv::totalText(saved.total);
        date = dateText(saved.date);
        lapCount = ns::format("Laps: %i >", static_cast<int>(saved.laps.size()));
    }
    setText(cell->lapsLabel(), lapCount);
    setText(cell->dateLabel(), date);
    // A queued cell keeps the places it last had: a row's lap count faded by a swipe, or labels
    // placed for the other edit mode. The row takes the places of the browser's mode, as a lap
    // row does, so the lap count is never missing outside edit mode. The table's editing flag
    // would not do: it is on while any row shows its swipe's Delete button.
    placeResultLabels(*cell, editMode_, isSwipedRow(section, row));
    cell->setBackgroundView(lv::rowBackgroundView());
    cell->setSelectionStyle(UITableViewCellSelectionStyleGray);
    setText(cell->mainLabel(), mainText);
    return cell;
}

std::shared_ptr<LVTableViewCell> LVViewController::lapCell(NSInteger row) {
    // A queued lap cell is taken as it is.
    auto cell = std::dynamic_pointer_cast<LVTableViewCell>(
        lapsTable_->dequeueReusableCellWithIdentifier(kLapCellIdentifier));
    if (!cell) {
        cell = LVTableViewCell::make(UITableViewCellStyleDefault, std::string(kLapCellIdentifier));
    }
    cell->setBackgroundView(lv::rowBackgroundView());
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    auto lap = allLaps_ && row >= 0 ? allLaps_->objectAs<NSString>(static_cast<std::size_t>(row)) : nullptr;
    setText(cell->mainLabel(), lap ? std::optional<std::string>(lap->str()) : std::nullopt);
    setText(cell->lapsLabel(), ns::format("Lap %i", static_cast<int>(row + 1)));
    // The table's editing flag: no lap row is filled while a row shows its swipe's Delete button,
    // since a tap then only puts the button away.
    const bool editing = savedTable_->isEditing();
    if (const auto& number = cell->lapsLabel()) {
        number->setAlpha(editing ? 0 : 1);
        CGRect frame = number->frame();
        frame.origin.x = view()->frame().size.width - kLapNumberInset;
        frame.origin.y = kLapRowLabelY;
        number->setFrame(frame);
    }
    if (const auto& time = cell->mainLabel()) {
        CGRect frame = time->frame();
        frame.origin.y = kLapRowLabelY;
        frame.origin.x = editing ? kMainLabelEditingX : kMainLabelX;
        time->setFrame(frame);
    }
    return cell;
}
