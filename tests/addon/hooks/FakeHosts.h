#pragma once
// Minimal stand-ins for the hosts' classes, declared under the hosts' names with the variables
// and selectors the add-on relies on. Each records what ran in a journal, so tests see that a
// replaced method still runs and in which order.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fake {

/// What the fake hosts did, in order.
std::vector<std::string>& journal();
/// How many subviews the stopwatch screen's view held when the host's own viewDidLoad ran.
std::size_t& subviewsWhenHostLoaded();
/// Whether the Save button was enabled each time the host's own `_startTimer`, `_stopTimer` or
/// `_clearAllLaps` ran, in order (nullopt: there was no button).
std::vector<std::optional<bool>>& saveEnabledWhenHostRan();

class SBApplication : public NSObject {
  public:
    static constexpr const char* kClassName = "SBApplication";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b);
    static std::shared_ptr<SBApplication> withBundleIdentifier(const char* identifier);
    std::shared_ptr<NSString> currentDefaultPNGName();
};

class Screen : public UIViewController {
  public:
    static constexpr const char* kClassName = "FakeScreen";
    using Super = UIViewController;
    static std::shared_ptr<Screen> titled(const std::string& title);
};

class AppController : public NSObject {
  public:
    static constexpr const char* kClassName = "AppController";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b);
    void applicationDidFinishLaunching(id application);
    void selectViewController(id controller);
    std::shared_ptr<UITabBarController> tabBarController();
};

class LapTimeView : public NSObject {
  public:
    static constexpr const char* kClassName = "FakeLapTimeView";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b);
    double currentLapTime() { return 12.34; }
};

class StopWatchViewController : public UIViewController {
  public:
    static constexpr const char* kClassName = "StopWatchViewController";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b);
    static std::shared_ptr<StopWatchViewController> make();
    void viewDidLoad();
    void startTimer();
    void stopTimer();
    void clearAllLaps();
    void setRunning(bool running);
};

} // namespace fake
