#pragma once
// The Saved tab as an inspector sees it. The tab's view holds, bottom to top, the saved-times
// table, the laps table, a navigation bar and the "no saved times" label: the parts are found by
// kind and order among the view's subviews, and a cell's texts by its labels. Nothing here
// depends on the code behind the tab; a tab whose view is not loaded reads as absent.

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>

class UILabel;
class UINavigationBar;
class UITableView;
class UITableViewCell;
class UIView;
class UIViewController;

namespace sim {

class Device;

/// The parts of the Saved tab's screen.
struct SavedParts {
    std::shared_ptr<UIViewController> controller;
    std::shared_ptr<UIView> view;
    std::shared_ptr<UINavigationBar> topBar;
    std::shared_ptr<UITableView> savedTable;
    std::shared_ptr<UITableView> lapsTable;
    std::shared_ptr<UILabel> emptyLabel;
};

/// The Saved tab's parts; nullopt when there is no such tab or its view is not loaded. Parts
/// that are not there are nil.
std::optional<SavedParts> findSavedParts(Device& device);

/// A cell's labels, told apart as a person sees them: the main text is the largest, the lap
/// count sits furthest right, the date is the other one.
struct CellLabels {
    std::shared_ptr<UILabel> main;
    std::shared_ptr<UILabel> laps;
    std::shared_ptr<UILabel> date;
};

/// The labels of a cell.
CellLabels cellLabels(const std::shared_ptr<UITableViewCell>& cell);

struct Scene;

/// The `saved` field of the state dump, with what `scene` shows of its rows; null while the
/// Saved tab's view is not loaded.
nlohmann::ordered_json savedScreenJson(Device& device, const Scene& scene);

} // namespace sim
