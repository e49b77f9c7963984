#pragma once
// The Clock application's world clock tab, shown as a placeholder.

#include "platform/uikit/UIViewController.h"

#include <memory>

/// The world clock tab.
class WorldClockViewController : public UIViewController {
  public:
    static constexpr const char* kClassName = "WorldClockViewController";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b);

    /// The tab, titled "World Clock" with its icon.
    static std::shared_ptr<WorldClockViewController> worldClock();

    /// `viewDidLoad`: the placeholder screen.
    void viewDidLoad();
};
