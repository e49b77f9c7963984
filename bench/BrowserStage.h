#pragma once
// The Saved tab on a measuring device: the real browser view controller in a tab bar beside one
// other tab, in a window, driven the way a user drives it: the tab shown (the browser rebuilds its
// list from the file and its table reloads, asking for every header title), hidden, a result
// tapped and the lap panel closed again.

#include "platform/foundation/NSObjCRuntime.h"

#include <cstddef>

#include <memory>

class LVViewController;
class NSRunLoop;
class UITabBarController;
class UIWindow;

namespace bench {

class BrowserStage {
  public:
    /// Builds the browser and its tab bar; needs a current device (see BenchDevice).
    explicit BrowserStage(NSRunLoop& runLoop);

    /// Selects the Saved tab (loading its view the first time) and runs one run-loop pass: the
    /// refresh, the table's reload and its layout with every file read they make.
    void show();
    /// Selects the other tab and runs one run-loop pass.
    void hide();
    /// Taps a result on screen (the lap panel reads the file for its laps) and runs the pass after
    /// the touch. Answers false when the row is not on screen.
    bool tapResult(NSInteger section, NSInteger row);
    /// Closes the lap panel and lets its animations and delayed messages finish, so the next tap
    /// meets the browser at rest.
    void closeLapPanel();

    /// How many lap texts the panel shows.
    [[nodiscard]] std::size_t lapTextCount() const;
    /// How many sections the table of results has.
    [[nodiscard]] NSInteger sectionCount() const;
    [[nodiscard]] const std::shared_ptr<LVViewController>& browser() const { return browser_; }

  private:
    NSRunLoop& runLoop_;
    std::shared_ptr<LVViewController> browser_;
    std::shared_ptr<UITabBarController> tabs_;
    std::shared_ptr<UIWindow> window_;
};

} // namespace bench
