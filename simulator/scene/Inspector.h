#pragma once
// Finds things on the simulated device's screen the way an inspector does: from the window down
// through the view tree, the tab bar controller, bars, tables and alerts. It knows the Clock
// application's own classes (the simulator links the hosts) but nothing of any loaded library:
// what a library adds is found by its kind and its place on screen.

#include <memory>
#include <string>
#include <vector>

class StopWatchViewController;
class UIAlertView;
class UIButton;
class UITabBarController;
class UIView;
class UIViewController;

namespace sim {

class Device;

/// Read-only views of the device's screen.
class Inspector {
  public:
    explicit Inspector(Device& device) : device_(&device) {}

    /// The Clock application's tab bar controller (its window's root), nil when not running.
    [[nodiscard]] std::shared_ptr<UITabBarController> tabBarController() const;
    /// The controller of the selected tab, nil when none.
    [[nodiscard]] std::shared_ptr<UIViewController> selectedController() const;
    /// The titles of the tab bar's items, in order.
    [[nodiscard]] std::vector<std::string> tabTitles() const;

    /// The Clock application's stopwatch screen, wherever its tab is; nil when not running.
    [[nodiscard]] std::shared_ptr<StopWatchViewController> stopwatch() const;
    /// True when the stopwatch's tab is the one shown.
    [[nodiscard]] bool stopwatchOnScreen() const;
    /// The Save button on the stopwatch screen: a button titled "Save" in its view, if loaded.
    [[nodiscard]] std::shared_ptr<UIButton> saveButton() const;

    /// The controller of the Saved tab: the fifth tab, or any tab titled "Saved"; nil when none.
    [[nodiscard]] std::shared_ptr<UIViewController> savedController() const;

    /// The alerts on screen, back to front.
    [[nodiscard]] std::vector<std::shared_ptr<UIAlertView>> alerts() const;
    /// Alerts shown while another was closing, waiting to come up, in show order.
    [[nodiscard]] std::vector<std::shared_ptr<UIAlertView>> waitingAlerts() const;

    /// The first button in `root`'s tree (depth first, front to back) whose current title is
    /// `title` and that is not hidden.
    [[nodiscard]] static std::shared_ptr<UIButton> findButton(const std::shared_ptr<UIView>& root,
                                                              const std::string& title);
    /// Every view of kind T in `root`'s tree, depth first, back to front.
    template <class T>
    static std::vector<std::shared_ptr<T>> findAll(const std::shared_ptr<UIView>& root);

  private:
    Device* device_;
};

} // namespace sim

#include "platform/uikit/UIView.h"

template <class T>
std::vector<std::shared_ptr<T>> sim::Inspector::findAll(const std::shared_ptr<UIView>& root) {
    std::vector<std::shared_ptr<T>> found;
    std::vector<std::shared_ptr<UIView>> pending;
    if (root) {
        pending.push_back(root);
    }
    while (!pending.empty()) {
        auto view = pending.back();
        pending.pop_back();
        if (auto match = std::dynamic_pointer_cast<T>(view)) {
            found.push_back(match);
        }
        const auto& children = view->subviews();
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return found;
}
