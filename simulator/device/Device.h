#pragma once
// The simulated device: one process whose runtime holds SpringBoard's and the Clock
// application's classes, one virtual clock and run loop, the device's home folder, screen,
// region and wall clock. At start it registers the hosts' classes and then loads the hooking
// libraries whose filters match, so their initialisers run before any host start-up code.
// Launching the Clock application builds a new delegate and new screens each time; quitting
// tears them down but keeps the runtime and the loaded libraries.

#include "simulator/device/DeviceProfile.h"

#include "hosts/springboard/SpringBoard.h"
#include "platform/foundation/BundleRegistry.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/Region.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/foundation/WallClock.h"
#include "platform/runtime/Runtime.h"
#include "platform/substrate/LibraryLoader.h"
#include "platform/uikit/Environment.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AppController;
class NSDateFormatter;
class UIWindow;

namespace sim {

/// How to build a device.
struct DeviceSettings {
    /// The device's system folder (Applications/, Library/MobileSubstrate/DynamicLibraries/).
    std::filesystem::path systemFolder;
    /// The home folder NSHomeDirectory answers; its Library/Preferences/ holds the settings.
    std::filesystem::path home;
    DeviceProfile profile;
    /// Locale identifier and time zone name; empty means "as the environment says".
    std::string localeIdentifier;
    std::string timeZoneName;
    /// The wall clock at start, in seconds since the Unix epoch.
    double startUnixSeconds = 0;
    /// False to start without loading any hooking library.
    bool loadLibraries = true;
};

/// The Clock application's bundle identifier, as SpringBoard knows it.
inline constexpr const char* kClockBundleIdentifier = "com.apple.mobiletimer";

/// One simulated device. It puts its runtime, run loop, clocks, home, region and toolkit
/// state in force for its whole life, so only one device may be alive at a time.
class Device {
  public:
    explicit Device(DeviceSettings settings);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    [[nodiscard]] const DeviceSettings& settings() const { return settings_; }
    /// What the loader did with each library of the folder, in loading order.
    [[nodiscard]] const std::vector<ms::LibraryOutcome>& libraries() const { return libraries_; }
    /// True when at least one library was loaded.
    [[nodiscard]] bool anyLibraryLoaded() const;

    [[nodiscard]] SpringBoard& springBoard() { return *springBoard_; }

    /// True while the Clock application runs.
    [[nodiscard]] bool clockRunning() const { return static_cast<bool>(app_); }
    /// SpringBoard launches the Clock application: asks its record for the launch image name,
    /// then makes a new delegate and sends it `applicationDidFinishLaunching:`. Returns the
    /// launch image name. Only while the application is not running.
    std::string launchClock();
    /// Ends the Clock application: its window, screens, alerts and pending timers go.
    void quitClock();
    /// A launch image SpringBoard shows on the screen.
    struct ShownLaunchImage {
        std::string name;
        std::string bundleIdentifier;
    };
    /// The launch image on screen: the one SpringBoard chose at the last `launch` (or named for
    /// `launch-image`), until the next run-loop pass draws the application's first screen.
    [[nodiscard]] const std::optional<ShownLaunchImage>& launchImageShown() const {
        return launchImageShown_;
    }
    /// SpringBoard puts the launch image `name` of the application `bundleIdentifier` on screen,
    /// until the next run-loop pass.
    void showLaunchImage(std::string name, std::string bundleIdentifier);

    /// The running application's delegate, nil when not running.
    [[nodiscard]] const std::shared_ptr<AppController>& appController() const { return app_; }
    /// The running application's window, nil when not running.
    [[nodiscard]] std::shared_ptr<UIWindow> window() const;

    /// Seconds of virtual time since the device started.
    [[nodiscard]] double now() const { return clock_.now(); }
    /// Runs the run loop for `seconds` of virtual time, delivering what falls due.
    void runFor(double seconds);
    /// One run-loop pass without moving the clock: what a touch leaves behind is delivered.
    void settle();
    [[nodiscard]] NSRunLoop& runLoop() { return runLoop_; }
    [[nodiscard]] ui::Environment& environment() { return environment_; }
    /// The status bar clock's formatter ("h:mm a" in the device's region at each use), made at
    /// the first use and kept: a window draws the clock at every frame.
    [[nodiscard]] const NSDateFormatter& statusClockFormatter();

  private:
    void registerHostClasses();

    DeviceSettings settings_;
    rt::Runtime runtime_;
    rt::Runtime::Scope runtimeScope_{runtime_};
    ns::VirtualClock clock_{0};
    NSRunLoop runLoop_{clock_};
    NSRunLoop::Scope runLoopScope_{runLoop_};
    ns::WallClock wallClock_;
    ns::WallClock::Scope wallClockScope_{wallClock_};
    ui::Environment environment_;
    ui::Environment::Scope environmentScope_{environment_};
    ns::HomeDirectory::Scope homeScope_;
    ns::Region::Scope regionScope_;
    ns::BundleRegistry bundles_;
    ns::BundleRegistry::Scope bundlesScope_{bundles_};
    std::vector<ms::LibraryOutcome> libraries_;
    std::shared_ptr<SpringBoard> springBoard_;
    std::shared_ptr<AppController> app_;
    std::optional<ShownLaunchImage> launchImageShown_;
    std::shared_ptr<NSDateFormatter> statusClockFormatter_;
};

} // namespace sim
