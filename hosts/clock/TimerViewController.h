#pragma once
// The Clock application's timer tab, shown as a placeholder.

#include "platform/uikit/UIViewController.h"

#include <memory>

/// The timer tab.
class TimerViewController : public UIViewController {
  public:
    static constexpr const char* kClassName = "TimerViewController";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b);

    /// The tab, titled "Timer" with its icon.
    static std::shared_ptr<TimerViewController> timer();

    /// `viewDidLoad`: the placeholder screen.
    void viewDidLoad();
};
