#include "simulator/SavedActions.h"

#include "simulator/Device.h"
#include "simulator/Inspector.h"
#include "simulator/SavedScreen.h"
#include "simulator/ScriptCommand.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"

#include <algorithm>
#include <map>

namespace sim {
namespace {

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

// A person scrolls a row into view before touching it; a row already on screen stays put.
void scrollIntoView(UITableView& table, const std::shared_ptr<NSIndexPath>& path) {
    if (table.cellForRowAtIndexPath(path)) {
        return;
    }
    CGRect rect = table.rectForRowAtIndexPath(path);
    CGFloat height = table.bounds().size.height;
    CGFloat maxOffset = std::max<CGFloat>(0, table.contentSize().height - height);
    table.simulateScroll(CGPointMake(0, std::clamp<CGFloat>(rect.origin.y, 0, maxOffset)));
    table.layoutIfNeeded();
}

class SavedAction {
  public:
    SavedAction(Device& device, const ScriptCommand& command) : device_(device), command_(command) {}

    std::string run() {
        auto parts = findSavedParts(device_);
        auto shown = Inspector(device_).selectedController();
        if (!parts || shown != parts->controller) {
            return "the Saved tab is not on screen (use \"tab saved\")";
        }
        parts_ = *parts;
        const std::string& name = command_.name;
        if (name == "back") {
            return back();
        }
        if (name == "edit" || name == "done" || name == "add") {
            static const std::map<std::string, std::string> titles = {
                {"edit", "Edit"}, {"done", "Done"}, {"add", "Add"}};
            return barItem(titles.at(name));
        }
        if (!parts_.savedTable) {
            return "the Saved tab shows no table";
        }
        if (name == "unswipe") {
            return parts_.savedTable->simulateTapOutside() ? std::string() : "no Delete button shows";
        }
        if (name == "move") {
            return move();
        }
        int section = command_.numbers[0];
        int row = command_.numbers[1];
        if (std::string why = checkRow(*parts_.savedTable, section, row); !why.empty()) {
            return why;
        }
        auto path = NSIndexPath::indexPathForRowInSection(row, section);
        scrollIntoView(*parts_.savedTable, path);
        if (name == "tap") {
            return parts_.savedTable->simulateTapOnRow(path) ? std::string()
                                                             : rowName(section, row) + " cannot be tapped";
        }
        if (name == "swipe") {
            return parts_.savedTable->simulateSwipeOnRow(path) ? std::string()
                                                               : rowName(section, row) + " cannot be swiped";
        }
        return remove(path, section, row);
    }

  private:
    std::string back() {
        if (!parts_.topBar || !parts_.topBar->showsBackButton()) {
            return "there is no back control on the top bar";
        }
        if (!parts_.topBar->simulateTapBackButton()) {
            return "the back control does not take a tap now (the bar is still moving)";
        }
        return {};
    }

    std::string barItem(const std::string& title) {
        auto top = parts_.topBar ? parts_.topBar->topItem() : nullptr;
        if (top && top->leftBarButtonItem() && top->leftBarButtonItem()->title() == title) {
            parts_.topBar->simulateTapLeftItem();
            return {};
        }
        if (top && top->rightBarButtonItem() && top->rightBarButtonItem()->title() == title) {
            parts_.topBar->simulateTapRightItem();
            return {};
        }
        return "there is no \"" + title + "\" item on the top bar";
    }

    // Swipe then Delete outside edit mode; in edit mode the minus control then Delete.
    std::string remove(const std::shared_ptr<NSIndexPath>& path, int section, int row) {
        UITableView& table = *parts_.savedTable;
        bool shown = table.isEditing() && !table.swipedRow() ? table.simulateTapEditingControl(path)
                                                             : table.simulateSwipeOnRow(path);
        if (!shown || !table.simulateTapDeleteConfirmation()) {
            return rowName(section, row) + " offers no Delete button";
        }
        return {};
    }

    std::string move() {
        UITableView& table = *parts_.savedTable;
        const auto& n = command_.numbers;
        if (std::string why = checkRow(table, n[0], n[1]); !why.empty()) {
            return why;
        }
        if (n[2] >= table.numberOfSections()) {
            return "the saved-times table has no section " + std::to_string(n[2]);
        }
        if (!table.isEditing()) {
            return "rows move only in edit mode (use \"edit\")";
        }
        auto from = NSIndexPath::indexPathForRowInSection(n[1], n[0]);
        auto to = NSIndexPath::indexPathForRowInSection(n[3], n[2]);
        scrollIntoView(table, from);
        if (!table.simulateDrag(from, to)) {
            return rowName(n[0], n[1]) + " cannot be moved to " + std::to_string(n[2]) + " " +
                   std::to_string(n[3]);
        }
        return {};
    }

    Device& device_;
    const ScriptCommand& command_;
    SavedParts parts_;
};

} // namespace

std::string runSavedAction(Device& device, const ScriptCommand& command) {
    return SavedAction(device, command).run();
}

} // namespace sim
