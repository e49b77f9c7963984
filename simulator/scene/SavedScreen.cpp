#include "simulator/scene/SavedScreen.h"

#include "simulator/device/Device.h"
#include "simulator/scene/Inspector.h"
#include "simulator/scene/Scene.h"
#include "simulator/scene/StateDump.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UIViewController.h"

#include <algorithm>

namespace sim {
namespace {

using json = nlohmann::ordered_json;

json frameJson(CGRect frame) {
    return json::array({points(frame.origin.x), points(frame.origin.y), points(frame.size.width),
                        points(frame.size.height)});
}

json textJson(const std::shared_ptr<UILabel>& label) {
    return label && label->text() ? json(*label->text()) : json(nullptr);
}

json barItemJson(const std::shared_ptr<UIBarButtonItem>& item) {
    if (!item) {
        return nullptr;
    }
    const char* style = item->style() == UIBarButtonItemStyleDone       ? "done"
                        : item->style() == UIBarButtonItemStyleBordered ? "bordered"
                                                                        : "plain";
    return {{"title", item->title() ? json(*item->title()) : json(nullptr)}, {"style", style}};
}

json topBarJson(const std::shared_ptr<UINavigationBar>& bar) {
    json items = json::array();
    if (bar) {
        for (const auto& item : bar->items()) {
            items.push_back({{"title", item->title() ? json(*item->title()) : json(nullptr)},
                             {"left", barItemJson(item->leftBarButtonItem())},
                             {"right", barItemJson(item->rightBarButtonItem())}});
        }
    }
    return items;
}

std::optional<std::string> headerTitle(const std::shared_ptr<UITableView>& table, NSInteger section) {
    auto source = table->dataSource();
    if (!source || !source->implements(UITableViewDataSource::Method::TitleForHeaderInSection)) {
        return std::nullopt;
    }
    return source->tableViewTitleForHeaderInSection(table, section);
}

// The rows of `section` that are on screen, top to bottom.
std::vector<std::shared_ptr<NSIndexPath>> visibleRows(const std::shared_ptr<UITableView>& table,
                                                      NSInteger section) {
    std::vector<std::shared_ptr<NSIndexPath>> rows;
    for (const auto& path : table->indexPathsForVisibleRows()) {
        if (path->section() == section) {
            rows.push_back(path);
        }
    }
    return rows;
}

// Whether a row on screen is out of a person's sight: clipped away, too faint, or under
// something opaque in front (the lap panel over the saved times, a section header).
json coveredJson(const Scene& scene, const std::shared_ptr<UITableViewCell>& cell) {
    const SceneElement* element = scene.find(cell.get());
    return element == nullptr || !element->seen();
}

json savedTableJson(const std::shared_ptr<UITableView>& table, const Scene& scene) {
    double now = scene.moment;
    if (!table) {
        return nullptr;
    }
    json selected = nullptr;
    if (auto path = table->indexPathForSelectedRow()) {
        selected = json::array({path->section(), path->row()});
    }
    json swiped = nullptr;
    if (auto path = table->swipedRow()) {
        swiped = json::array({path->section(), path->row()});
    }
    json sections = json::array();
    for (NSInteger s = 0; s < table->numberOfSections(); ++s) {
        json rows = json::array();
        for (const auto& path : visibleRows(table, s)) {
            auto cell = table->cellForRowAtIndexPath(path);
            CellLabels labels = cellLabels(cell);
            rows.push_back({{"row", path->row()},
                            {"main", textJson(labels.main)},
                            {"date", textJson(labels.date)},
                            {"laps", textJson(labels.laps)},
                            {"main_frame", labels.main ? frameJson(labels.main->frame()) : json(nullptr)},
                            {"laps_alpha", labels.laps ? json(points(labels.laps->alpha())) : json(nullptr)},
                            {"covered", coveredJson(scene, cell)}});
        }
        auto title = headerTitle(table, s);
        sections.push_back({{"title", title ? json(*title) : json(nullptr)},
                            {"row_count", table->numberOfRowsInSection(s)},
                            {"rows", rows}});
    }
    return {{"frame", frameJson(table->frame())},
            {"frame_on_screen", frameJson(table->presentationFrame(now))},
            {"allows_selection", table->allowsSelection()},
            {"selected", selected},
            {"swiped", swiped},
            {"sections", sections}};
}

json lapsTableJson(const std::shared_ptr<UITableView>& table, const Scene& scene) {
    double now = scene.moment;
    if (!table) {
        return nullptr;
    }
    json rows = json::array();
    for (const auto& path : table->indexPathsForVisibleRows()) {
        auto cell = table->cellForRowAtIndexPath(path);
        CellLabels labels = cellLabels(cell);
        rows.push_back({{"main", textJson(labels.main)},
                        {"laps", textJson(labels.laps)},
                        {"main_frame", labels.main ? frameJson(labels.main->frame()) : json(nullptr)},
                        {"laps_frame", labels.laps ? frameJson(labels.laps->frame()) : json(nullptr)},
                        {"laps_alpha", labels.laps ? json(points(labels.laps->alpha())) : json(nullptr)},
                        {"covered", coveredJson(scene, cell)}});
    }
    std::optional<std::string> title = table->numberOfSections() > 0 ? headerTitle(table, 0) : std::nullopt;
    CGPoint offset = table->contentOffset();
    return {{"frame", frameJson(table->frame())},
            {"frame_on_screen", frameJson(table->presentationFrame(now))},
            {"content_offset", json::array({points(offset.x), points(offset.y)})},
            {"title", title ? json(*title) : json(nullptr)},
            {"rows", rows}};
}

json pendingJson(Device& device, const std::shared_ptr<UIViewController>& controller) {
    json pending = json::array();
    for (const auto& timer : device.runLoop().pending()) {
        if (timer.isMessage && timer.target == controller) {
            pending.push_back({{"at", timer.fireTime}, {"selector", timer.selector}});
        }
    }
    return pending;
}

} // namespace

std::optional<SavedParts> findSavedParts(Device& device) {
    auto controller = Inspector(device).savedController();
    if (!controller || !controller->isViewLoaded()) {
        return std::nullopt;
    }
    SavedParts parts;
    parts.controller = controller;
    parts.view = controller->view();
    for (const auto& child : parts.view->subviews()) {
        if (auto table = std::dynamic_pointer_cast<UITableView>(child)) {
            if (!parts.savedTable) {
                parts.savedTable = table;
            } else if (!parts.lapsTable) {
                parts.lapsTable = table;
            }
        } else if (auto bar = std::dynamic_pointer_cast<UINavigationBar>(child)) {
            if (!parts.topBar) {
                parts.topBar = bar;
            }
        } else if (auto label = std::dynamic_pointer_cast<UILabel>(child)) {
            if (!parts.emptyLabel) {
                parts.emptyLabel = label;
            }
        }
    }
    return parts;
}

CellLabels cellLabels(const std::shared_ptr<UITableViewCell>& cell) {
    CellLabels labels;
    if (!cell) {
        return labels;
    }
    std::vector<std::shared_ptr<UILabel>> all;
    for (const auto& label : Inspector::findAll<UILabel>(cell)) {
        // The cell's own text labels count only when they hold text.
        if (label->text() || label->superview() == cell) {
            all.push_back(label);
        }
    }
    if (all.empty()) {
        return labels;
    }
    auto fontSize = [](const std::shared_ptr<UILabel>& label) {
        return label->font() ? label->font()->pointSize() : 0;
    };
    auto largest = std::max_element(all.begin(), all.end(), [&](const auto& a, const auto& b) {
        return fontSize(a) < fontSize(b) ||
               (fontSize(a) == fontSize(b) && a->frame().origin.y > b->frame().origin.y);
    });
    labels.main = *largest;
    all.erase(largest);
    if (!all.empty()) {
        auto rightmost = std::max_element(all.begin(), all.end(), [](const auto& a, const auto& b) {
            return a->frame().origin.x < b->frame().origin.x;
        });
        labels.laps = *rightmost;
        all.erase(rightmost);
    }
    if (!all.empty()) {
        labels.date = all.front();
    }
    return labels;
}

json savedScreenJson(Device& device, const Scene& scene) {
    auto parts = findSavedParts(device);
    if (!parts) {
        return nullptr;
    }
    return {{"top_bar", topBarJson(parts->topBar)},
            {"editing", parts->savedTable ? parts->savedTable->isEditing() : false},
            {"no_saved_times_visible",
             parts->emptyLabel && !parts->emptyLabel->isHidden() && parts->emptyLabel->alpha() > 0},
            {"saved_table", savedTableJson(parts->savedTable, scene)},
            {"laps_table", lapsTableJson(parts->lapsTable, scene)},
            {"pending", pendingJson(device, parts->controller)}};
}

} // namespace sim
