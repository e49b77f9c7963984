#pragma once
// The Clock application's alarm tab, shown as a placeholder.

#include "platform/uikit/UIViewController.h"

#include <memory>

/// The alarm tab.
class AlarmViewController : public UIViewController {
  public:
    static constexpr const char* kClassName = "AlarmViewController";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b);

    /// The tab, titled "Alarm" with its icon.
    static std::shared_ptr<AlarmViewController> alarm();

    /// `viewDidLoad`: the placeholder screen.
    void viewDidLoad();
};
