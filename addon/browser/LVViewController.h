#pragma once
// The view controller behind the Saved tab.

#include "platform/uikit/UIViewController.h"

/// The saved-times browser. The Saved tab holds the one instance for the life of the process.
class LVViewController : public UIViewController {
  public:
    static constexpr const char* kClassName = "LVViewController";
    using Super = UIViewController;
};
