#pragma once
// The Clock application's delegate. Its start-up builds the window and the tab bar (world
// clock, alarm, stopwatch, timer) and shows the tab last shown; when the user switches tabs it
// records the tab's position in the settings file.

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/NSObject.h"
#include "platform/uikit/AdoptsUITabBarControllerDelegate.h"

#include <memory>

class UITabBarController;
class UIWindow;

/// The Clock application's delegate.
class AppController final : public NSObject, public AdoptsUITabBarControllerDelegate<AppController> {
  public:
    static constexpr const char* kClassName = "AppController";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b);

    /// A delegate before start-up.
    static std::shared_ptr<AppController> appController();

    // Registered methods.
    /// `applicationDidFinishLaunching:`: builds the window and the tab bar and selects the tab
    /// named by "LAST_SELECTED_VIEW" when it is one of the four tabs.
    void applicationDidFinishLaunching(id application);
    /// `_selectViewController:`: shows that controller's tab (nil is ignored).
    void selectViewController(id controller);

    /// `_tabBarController`.
    [[nodiscard]] std::shared_ptr<UITabBarController> tabBarController() const;
    /// `_window`.
    [[nodiscard]] std::shared_ptr<UIWindow> window() const;

    // UITabBarControllerDelegate: a user's tap on a tab.
    void
    tabBarControllerDidSelectViewController(const std::shared_ptr<UITabBarController>& tabBarController,
                                            const std::shared_ptr<UIViewController>& controller) override;
};
