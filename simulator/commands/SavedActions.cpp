#include "simulator/commands/SavedActions.h"

#include "simulator/device/Device.h"
#include "simulator/device/SavedTimesWatch.h"
#include "simulator/scene/Scene.h"
#include "simulator/script/CommandContext.h"
#include "simulator/script/ScriptCommand.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"

#include <algorithm>

namespace sim {
namespace {

// Why an edit stored nothing: the add-on's refusal, or a file left as it was that cannot be
// written. Two equal records swapped leave the same bytes, so an unchanged file alone says nothing.
std::optional<std::string> storedNothing(const SavedTimesWatch& watch) {
    if (auto why = watch.whyStoredNothing()) {
        return why;
    }
    return watch.changed() ? std::nullopt : watch.whyNotWritable();
}

std::string rowName(int section, int row) {
    return "row " + std::to_string(section) + " " + std::to_string(row);
}

// Checks that (section, row) exists in the table's own model.
std::string checkRow(UITableView& table, int section, int row) {
    NSInteger sections = table.numberOfSections();
    if (section >= sections) {
        return "the saved-times table has no section " + std::to_string(section) + " (it has " +
               std::to_string(sections) + ")";
    }
    NSInteger rows = table.numberOfRowsInSection(section);
    if (row >= rows) {
        return "section " + std::to_string(section) + " of the saved-times table has no row " +
               std::to_string(row) + " (it has " + std::to_string(rows) + ")";
    }
    return {};
}

// What a touch meets instead of a row, in a person's words.
std::string describeFront(CommandContext& context, const std::vector<const SceneElement*>& chain) {
    if (chain.empty()) {
        return "nothing that takes a touch";
    }
    const SceneElement& front = *chain.back();
    if (front.kind == SceneElement::Kind::SectionHeader) {
        return "the header of section \"" + front.title.value_or("") + "\"";
    }
    if (front.kind == SceneElement::Kind::TabBar) {
        return "the tab bar";
    }
    const SavedParts& parts = context.saved;
    for (const SceneElement* at : chain) {
        if (parts.lapsTable && at->view == parts.lapsTable) {
            return "the laps table";
        }
        if (parts.topBar && at->view == parts.topBar) {
            return "the top bar";
        }
    }
    return std::string("a ") + class_getName(front.view->isa());
}

// The row's cell as the scene shows it; nil when the row has no cell on screen.
const SceneElement* rowElement(const Scene& scene, UITableView& table,
                               const std::shared_ptr<NSIndexPath>& path) {
    auto cell = table.cellForRowAtIndexPath(path);
    return cell ? scene.find(cell.get()) : nullptr;
}

bool wholeAndUncovered(const SceneElement* element) {
    return element != nullptr && !element->covered &&
           element->visible.size.height >= element->frame.size.height - 0.5f &&
           element->visible.size.width >= element->frame.size.width - 0.5f;
}

// A person scrolls a row into view before touching it, just below its section's floating
// header; a row already shown whole stays put.
void scrollIntoView(CommandContext& context, UITableView& table, const std::shared_ptr<NSIndexPath>& path) {
    if (wholeAndUncovered(rowElement(captureScene(context.device), table, path))) {
        return;
    }
    CGRect rect = table.rectForRowAtIndexPath(path);
    CGFloat header = table.rectForHeaderInSection(path->section()).size.height;
    CGFloat height = table.bounds().size.height;
    CGFloat maxOffset = std::max<CGFloat>(0, table.contentSize().height - height);
    table.simulateScroll(CGPointMake(0, std::clamp<CGFloat>(rect.origin.y - header, 0, maxOffset)));
    table.layoutIfNeeded();
}

// What a person's finger meets at the middle of what shows of the row: empty when it is the
// row, otherwise why the row cannot be touched (not on screen, or what lies over it).
std::string reachRow(CommandContext& context, UITableView& table, const std::shared_ptr<NSIndexPath>& path) {
    std::string name = rowName(static_cast<int>(path->section()), static_cast<int>(path->row()));
    Scene scene = captureScene(context.device);
    const SceneElement* element = rowElement(scene, table, path);
    if (element == nullptr || element->visible.size.width <= 0 || element->visible.size.height <= 0) {
        return name + " is not on screen";
    }
    auto chain = scene.hitChain(element->visibleCentre());
    if (!chain.empty() && scene.isInside(*chain.back(), *element)) {
        return {};
    }
    return name + " is covered by " + describeFront(context, chain);
}

// The row the command's first two numbers name, checked, scrolled into view and reachable by a
// touch; nil with the reason in `why` otherwise.
std::shared_ptr<NSIndexPath> rowInView(CommandContext& context, UITableView& table,
                                       const ScriptCommand& command, std::string& why) {
    int section = command.numbers[0];
    int row = command.numbers[1];
    why = checkRow(table, section, row);
    if (!why.empty()) {
        return nullptr;
    }
    auto path = NSIndexPath::indexPathForRowInSection(row, section);
    // A table that something covers is not scrolled either: the finger never reaches it.
    Scene scene = captureScene(context.device);
    if (const SceneElement* shown = scene.find(&table); shown != nullptr && shown->covered) {
        why = rowName(section, row) + " is covered by " +
              describeFront(context, scene.hitChain(shown->visibleCentre()));
        return nullptr;
    }
    scrollIntoView(context, table, path);
    why = reachRow(context, table, path);
    return why.empty() ? path : nullptr;
}

} // namespace

std::string tapBackControl(CommandContext& context, const ScriptCommand& /*command*/) {
    const auto& bar = context.saved.topBar;
    if (!bar || !bar->showsBackButton()) {
        return "there is no back control on the top bar";
    }
    if (!bar->simulateTapBackButton()) {
        return "the back control does not take a tap now (the bar is still moving)";
    }
    return {};
}

std::string tapBarItem(CommandContext& context, const std::string& title) {
    const auto& bar = context.saved.topBar;
    auto top = bar ? bar->topItem() : nullptr;
    const bool left = top && top->leftBarButtonItem() && top->leftBarButtonItem()->title() == title;
    const bool right = top && top->rightBarButtonItem() && top->rightBarButtonItem()->title() == title;
    if (!left && !right) {
        if (bar && bar->showsBackButton()) {
            return "there is no \"" + title +
                   "\" item on the top bar while a result's laps are shown (use \"back\" first)";
        }
        return "there is no \"" + title + "\" item on the top bar";
    }
    if (!(left ? bar->simulateTapLeftItem() : bar->simulateTapRightItem())) {
        return "the \"" + title + "\" item does not take a tap now (the bar is still moving)";
    }
    return {};
}

std::string tapSavedRow(CommandContext& context, const ScriptCommand& command) {
    UITableView& table = *context.saved.savedTable;
    std::string why;
    auto path = rowInView(context, table, command, why);
    if (!path) {
        return why;
    }
    return table.simulateTapOnRow(path)
               ? std::string()
               : rowName(command.numbers[0], command.numbers[1]) + " cannot be tapped";
}

std::string swipeSavedRow(CommandContext& context, const ScriptCommand& command) {
    UITableView& table = *context.saved.savedTable;
    if (table.isEditing() && !table.swipedRow()) {
        return "rows are not swiped in edit mode: \"delete S R\" taps the minus control, \"done\" leaves "
               "edit mode";
    }
    context.device.runFor(kSwipeSeconds);
    std::string why;
    auto path = rowInView(context, table, command, why);
    if (!path) {
        return why;
    }
    return table.simulateSwipeOnRow(path)
               ? std::string()
               : rowName(command.numbers[0], command.numbers[1]) + " cannot be swiped";
}

std::string unswipeSavedRow(CommandContext& context, const ScriptCommand& /*command*/) {
    UITableView& table = *context.saved.savedTable;
    if (!table.swipedRow() && !table.deleteConfirmationRow()) {
        return "no Delete button shows";
    }
    context.device.runFor(kEditingControlTapSeconds);
    return table.simulateTapOutside() ? std::string() : "no Delete button shows";
}

std::string deleteSavedRow(CommandContext& context, const ScriptCommand& command) {
    UITableView& table = *context.saved.savedTable;
    const auto sameRow = [](const std::shared_ptr<NSIndexPath>& shown,
                            const std::shared_ptr<NSIndexPath>& path) {
        return shown && path && shown->section() == path->section() && shown->row() == path->row();
    };
    auto path = NSIndexPath::indexPathForRowInSection(command.numbers[1], command.numbers[0]);
    const auto shown = table.swipedRow() ? table.swipedRow() : table.deleteConfirmationRow();
    if (!sameRow(shown, path)) {
        if (shown) {
            // Another row's Delete button goes away first.
            context.device.runFor(kEditingControlTapSeconds);
            table.simulateTapOutside();
        }
        // Outside edit mode a swipe shows the Delete button; in edit mode the minus control does.
        const bool editing = table.isEditing();
        context.device.runFor(editing ? kEditingControlTapSeconds : kSwipeSeconds);
        std::string why;
        path = rowInView(context, table, command, why);
        if (!path) {
            return why;
        }
        if (!(editing ? table.simulateTapEditingControl(path) : table.simulateSwipeOnRow(path))) {
            return rowName(command.numbers[0], command.numbers[1]) + " offers no Delete button";
        }
    }
    context.device.runFor(kEditingControlTapSeconds);
    if (std::string why = reachRow(context, table, path); !why.empty()) {
        return why;
    }
    SavedTimesWatch watch(SavedTimesWatch::Look::File);
    if (!table.simulateTapDeleteConfirmation()) {
        return rowName(command.numbers[0], command.numbers[1]) + " offers no Delete button";
    }
    if (auto why = storedNothing(watch)) {
        return "the delete wrote nothing: " + *why;
    }
    return {};
}

std::string moveSavedRow(CommandContext& context, const ScriptCommand& command) {
    UITableView& table = *context.saved.savedTable;
    const auto& n = command.numbers;
    if (!table.isEditing()) {
        return "rows move only in edit mode (use \"edit\")";
    }
    context.device.runFor(kDragSeconds);
    if (std::string why = checkRow(table, n[0], n[1]); !why.empty()) {
        return why;
    }
    if (n[2] >= table.numberOfSections()) {
        return "the saved-times table has no section " + std::to_string(n[2]);
    }
    auto from = NSIndexPath::indexPathForRowInSection(n[1], n[0]);
    auto to = NSIndexPath::indexPathForRowInSection(n[3], n[2]);
    scrollIntoView(context, table, from);
    if (std::string why = reachRow(context, table, from); !why.empty()) {
        return why;
    }
    SavedTimesWatch watch(SavedTimesWatch::Look::File);
    if (!table.simulateDrag(from, to)) {
        return rowName(n[0], n[1]) + " cannot be moved to " + std::to_string(n[2]) + " " +
               std::to_string(n[3]);
    }
    if (auto why = storedNothing(watch)) {
        return "the move wrote nothing: " + *why;
    }
    return {};
}

} // namespace sim
