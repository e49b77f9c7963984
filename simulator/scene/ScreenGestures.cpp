#include "simulator/scene/ScreenGestures.h"

#include "simulator/device/Device.h"
#include "simulator/scene/Inspector.h"
#include "simulator/scene/SavedScreen.h"
#include "simulator/scene/Scene.h"

#include "simulator/render/AlertLayout.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <vector>

namespace sim {
namespace {

// Where the cell's editing controls take a touch, from its left and right edges.
constexpr CGFloat kEditingControlWidth = 44;
constexpr CGFloat kReorderControlWidth = 44;
constexpr CGFloat kDeleteButtonRight = 80;

// One view on the way down to the point, with the point in its own bounds' coordinates.
struct Hit {
    std::shared_ptr<UIView> view;
    CGPoint point;
};

// The views under `point`, from the window down to the frontmost one that takes the touch, as
// the scene's hit test finds them. A section header ends the chain at its table with no point
// on a row: it takes the touch itself.
std::vector<Hit> hitChain(const Scene& scene, CGPoint point) {
    std::vector<Hit> chain;
    if (!scene.windowTakesTouches()) {
        return chain;
    }
    for (const SceneElement* element : scene.hitChain(point)) {
        if (element->kind != SceneElement::Kind::View) {
            chain.clear();
            return chain;
        }
        chain.push_back({element->view, pointInElement(*element, point)});
    }
    return chain;
}

template <class T>
std::optional<std::pair<std::shared_ptr<T>, CGPoint>> innermost(const std::vector<Hit>& chain) {
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (auto match = std::dynamic_pointer_cast<T>(it->view)) {
            return std::pair{match, it->point};
        }
    }
    return std::nullopt;
}

std::shared_ptr<UIAlertView> frontAlert(Device& device) {
    auto alerts = Inspector(device).alerts();
    return alerts.empty() ? nullptr : alerts.back();
}

std::shared_ptr<UITextField> frontAlertField(Device& device) {
    auto alert = frontAlert(device);
    if (!alert || alert->isDismissing() || alert->alertViewStyle() == UIAlertViewStyleDefault) {
        return nullptr;
    }
    return alert->textFieldAtIndex(0);
}

// The tab under `point` on the tab bar, or nullopt off the bar.
std::optional<NSUInteger> tabAt(UITabBarController& tabs, CGPoint point) {
    if (!tabs.isViewLoaded()) {
        return std::nullopt;
    }
    CGRect area = tabs.view()->frameInRootView();
    CGFloat height = UITabBarController::kTabBarHeight;
    CGRect bar = CGRectMake(area.origin.x, CGRectGetMaxY(area) - height, area.size.width, height);
    std::size_t count = tabs.visibleItems().size() + (tabs.showsMoreItem() ? 1 : 0);
    if (count == 0 || !CGRectContainsPoint(bar, point)) {
        return std::nullopt;
    }
    auto slot = static_cast<double>(bar.size.width) / static_cast<double>(count);
    return static_cast<NSUInteger>(static_cast<double>(point.x - bar.origin.x) / slot);
}

// The command word of a title: "Edit" -> "edit"; empty unless it is one of `words`.
std::string commandWord(const std::optional<std::string>& title, std::initializer_list<const char*> words) {
    std::string word = title.value_or("");
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const char* known : words) {
        if (word == known) {
            return word;
        }
    }
    return {};
}

std::string itemWord(const std::shared_ptr<UIBarButtonItem>& item) {
    std::string word = item ? commandWord(item->title(), {"edit", "done", "add"}) : std::string();
    return word.empty() ? "# a tap on a bar item" : word;
}

bool tapNavigationBar(UINavigationBar& bar, CGPoint point, std::string& meaning) {
    // The items sit at the ends, at most a third of the bar wide each.
    CGFloat third = bar.bounds().size.width / 3;
    auto top = bar.topItem();
    if (point.x < third) {
        if (bar.showsBackButton()) {
            meaning = "back";
            return bar.simulateTapBackButton();
        }
        meaning = itemWord(top ? top->leftBarButtonItem() : nullptr);
        return bar.simulateTapLeftItem();
    }
    if (point.x >= 2 * third) {
        meaning = itemWord(top ? top->rightBarButtonItem() : nullptr);
        return bar.simulateTapRightItem();
    }
    return false;
}

std::string rowWords(const NSIndexPath& path) {
    return std::to_string(path.section()) + " " + std::to_string(path.row());
}

// Taps the table at `point`; `meaning` says which command that was, empty for none (a tap on
// a minus control, which the following `delete` includes).
bool tapTable(UITableView& table, CGPoint point, const std::vector<Hit>& chain, std::string& meaning) {
    auto path = table.indexPathForRowAtPoint(point);
    auto cell = innermost<UITableViewCell>(chain);
    auto swiped = table.swipedRow();
    auto shown = swiped ? swiped : table.deleteConfirmationRow();
    if (cell && cell->first->showingDeleteConfirmation() &&
        cell->second.x >= cell->first->bounds().size.width - kDeleteButtonRight) {
        meaning = shown ? "delete " + rowWords(*shown) : std::string();
        return table.simulateTapDeleteConfirmation();
    }
    if (path && cell && table.isEditing() && cell->first->editingStyle() != UITableViewCellEditingStyleNone &&
        cell->second.x < kEditingControlWidth) {
        return table.simulateTapEditingControl(path);
    }
    if (!path || shown) {
        // Beside a Delete button shown by a swipe: `unswipe`. One a minus control showed was
        // never recorded, so its hiding is not either.
        meaning = swiped ? "unswipe" : std::string();
        return path ? table.simulateTapOnRow(path) : table.simulateTapOutside();
    }
    meaning = "tap " + rowWords(*path);
    return table.simulateTapOnRow(path);
}

// Where a row dropped at `point` (table content coordinates) goes: the row there, or, below a
// section's last row or on an empty section's header, one past that section's last row (the
// last place when the row comes from that section).
std::shared_ptr<NSIndexPath> dropTarget(UITableView& table, const NSIndexPath& source, CGPoint point) {
    if (auto row = table.indexPathForRowAtPoint(point)) {
        return row;
    }
    NSInteger sections = table.numberOfSections();
    for (NSInteger section = sections - 1; section >= 0; --section) {
        if (point.y >= table.rectForHeaderInSection(section).origin.y) {
            NSInteger rows = table.numberOfRowsInSection(section);
            NSInteger place = section == source.section() ? rows - 1 : rows;
            return place < 0 ? nullptr : NSIndexPath::indexPathForRowInSection(place, section);
        }
    }
    return nullptr;
}

} // namespace

bool ScreenGestures::click(CGPoint point) {
    Device& device = *device_;
    bool took = false;
    if (device.launchImageShown() || !device.clockRunning()) {
        return false;
    }
    std::string meaning;
    if (auto alert = frontAlert(device)) {
        int button = render::AlertLayout::of(
                         *alert, {device.settings().profile.width, device.settings().profile.height})
                         .buttonAt(point);
        if (button >= 0) {
            meaning = "button " + alert->buttonTitleAtIndex(button);
        }
        took = button >= 0 && alert->simulateTapButtonAtIndex(button);
    } else if (auto tabs = Inspector(device).tabBarController(); tabs && tabAt(*tabs, point)) {
        meaning = "tab " + std::to_string(*tabAt(*tabs, point) + 1);
        took = tabs->simulateTapOnTab(*tabAt(*tabs, point));
    } else {
        auto chain = hitChain(captureScene(device), point);
        if (auto control = innermost<UIControl>(chain)) {
            auto button = std::dynamic_pointer_cast<UIButton>(control->first);
            meaning = button ? commandWord(button->currentTitle(), {"start", "stop", "lap", "reset", "save"})
                             : std::string();
            if (meaning.empty()) {
                meaning = "# a tap on a control";
            }
            took = control->first->simulateTap();
        } else if (auto bar = innermost<UINavigationBar>(chain)) {
            took = tapNavigationBar(*bar->first, bar->second, meaning);
        } else if (auto table = innermost<UITableView>(chain)) {
            took = tapTable(*table->first, table->second, chain, meaning);
            if (!meaning.empty() && !isSavedTable(*table->first)) {
                meaning = "# a tap on the laps table";
            }
        }
    }
    device.settle();
    if (took) {
        note(meaning);
    }
    return took;
}

bool ScreenGestures::drag(CGPoint from, CGPoint to) {
    CGFloat dx = to.x - from.x;
    CGFloat dy = to.y - from.y;
    if (std::abs(dx) < kClickSlop && std::abs(dy) < kClickSlop) {
        return click(from);
    }
    Device& device = *device_;
    if (device.launchImageShown() || !device.clockRunning() || frontAlert(device)) {
        return false;
    }
    if (auto held = reorderControlAt(from)) {
        return drop(*held, to);
    }
    bool took = false;
    if (std::abs(dx) >= kSwipeWidth && std::abs(dx) > std::abs(dy)) {
        auto chain = hitChain(captureScene(device), from);
        if (auto table = innermost<UITableView>(chain)) {
            if (auto path = table->first->indexPathForRowAtPoint(table->second)) {
                bool hides = table->first->swipedRow() != nullptr;
                took = table->first->simulateSwipeOnRow(path);
                if (took && isSavedTable(*table->first)) {
                    // A swipe while a Delete button shows only hides it, as `swipe` does.
                    note(hides ? "unswipe" : "swipe " + rowWords(*path));
                }
            }
        }
    }
    device.settle();
    return took;
}

std::optional<ScreenGestures::HeldRow> ScreenGestures::reorderControlAt(CGPoint point) const {
    Device& device = *device_;
    if (device.launchImageShown() || !device.clockRunning() || frontAlert(device)) {
        return std::nullopt;
    }
    auto chain = hitChain(captureScene(device), point);
    auto table = innermost<UITableView>(chain);
    auto cell = innermost<UITableViewCell>(chain);
    if (!table || !cell || !table->first->isEditing() || !cell->first->showsReorderControl() ||
        cell->first->showingDeleteConfirmation() ||
        cell->second.x < cell->first->bounds().size.width - kReorderControlWidth) {
        return std::nullopt;
    }
    return HeldRow{table->first, cell->first, {point.x - table->second.x, point.y - table->second.y}};
}

bool ScreenGestures::type(const std::string& text) {
    auto field = frontAlertField(*device_);
    bool took = field && field->simulateTyping(field->text() + text);
    device_->settle();
    if (took) {
        note("type " + field->text());
    }
    return took;
}

bool ScreenGestures::backspace() {
    auto field = frontAlertField(*device_);
    if (!field || field->text().empty()) {
        return false;
    }
    std::string text = field->text();
    // Drops the last character, with the continuation bytes of its UTF-8 encoding.
    std::size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) {
        --end;
    }
    text.resize(end);
    bool took = field->simulateTyping(text);
    device_->settle();
    if (took) {
        note("type " + field->text());
    }
    return took;
}

bool ScreenGestures::pressReturn() {
    auto alert = frontAlert(*device_);
    NSInteger last = alert ? alert->numberOfButtons() - 1 : -1;
    bool took = last >= 0 && alert->simulateTapButtonAtIndex(last);
    device_->settle();
    if (took) {
        note("button " + alert->buttonTitleAtIndex(last));
    }
    return took;
}

bool ScreenGestures::pressEscape() {
    auto alert = frontAlert(*device_);
    NSInteger cancel = alert ? alert->cancelButtonIndex() : -1;
    bool took = cancel >= 0 && alert->simulateTapButtonAtIndex(cancel);
    device_->settle();
    if (took) {
        note("button " + alert->buttonTitleAtIndex(cancel));
    }
    return took;
}

std::string ScreenGestures::relaunch() {
    if (device_->clockRunning()) {
        device_->quitClock();
        note("quit");
    }
    note("launch");
    return device_->launchClock();
}

void ScreenGestures::hover(const HeldRow& held, CGPoint from, CGPoint to) {
    auto source =
        held.table->reorderingRow() ? held.table->reorderingRow() : held.table->indexPathForCell(held.cell);
    if (!source) {
        return;
    }
    CGPoint inTable{to.x - held.contentOrigin.x, to.y - held.contentOrigin.y};
    auto target = dropTarget(*held.table, *source, inTable);
    CGFloat top = held.table->rectForRowAtIndexPath(source).origin.y + (to.y - from.y);
    if (target) {
        held.table->simulateReorderHover(source, target, top);
        held.table->layoutIfNeeded();
    }
}

bool ScreenGestures::drop(const HeldRow& held, CGPoint to) {
    auto source =
        held.table->reorderingRow() ? held.table->reorderingRow() : held.table->indexPathForCell(held.cell);
    held.table->simulateReorderCancel();
    CGPoint inTable{to.x - held.contentOrigin.x, to.y - held.contentOrigin.y};
    auto target = source ? dropTarget(*held.table, *source, inTable) : nullptr;
    bool took = source && target && held.table->simulateDrag(source, target);
    device_->settle();
    if (took) {
        note("move " + rowWords(*source) + " " + rowWords(*target));
    }
    return took;
}

void ScreenGestures::letGo(const HeldRow& held) {
    held.table->simulateReorderCancel();
    held.table->layoutIfNeeded();
}

std::shared_ptr<UITableView> ScreenGestures::scrollableTableAt(CGPoint point) const {
    Device& device = *device_;
    if (device.launchImageShown() || !device.clockRunning() || frontAlert(device)) {
        return nullptr;
    }
    auto table = innermost<UITableView>(hitChain(captureScene(device), point));
    return table ? table->first : nullptr;
}

void ScreenGestures::scroll(UITableView& table, CGFloat offset) {
    table.simulateScroll(CGPointMake(table.contentOffset().x, offset));
    table.layoutIfNeeded();
}

void ScreenGestures::scrolled(UITableView& table, double distance) {
    if (distance == 0) {
        return;
    }
    if (!isSavedTabTable(table)) {
        note("# a scroll of a table no command reaches");
        return;
    }
    std::array<char, 32> text{};
    auto result = std::to_chars(text.data(), text.data() + text.size(), distance);
    note("scroll " + std::string(text.data(), result.ptr));
}

void ScreenGestures::note(const std::string& line) const {
    if (recorder_ && !line.empty()) {
        recorder_(line);
    }
}

bool ScreenGestures::isSavedTable(const UITableView& table) const {
    auto parts = findSavedParts(*device_);
    return parts && parts->savedTable.get() == &table;
}

bool ScreenGestures::isSavedTabTable(const UITableView& table) const {
    auto parts = findSavedParts(*device_);
    return parts && (parts->savedTable.get() == &table || parts->lapsTable.get() == &table);
}

} // namespace sim
