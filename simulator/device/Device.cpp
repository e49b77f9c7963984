#include "simulator/device/Device.h"

#include "simulator/device/DeviceFolder.h"

#include "hosts/clock/AlarmViewController.h"
#include "hosts/clock/AppController.h"
#include "hosts/clock/ClockMessages.h"
#include "hosts/clock/StopWatchLapTimeView.h"
#include "hosts/clock/StopWatchViewController.h"
#include "hosts/clock/TimerViewController.h"
#include "hosts/clock/WorldClockViewController.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/uikit/AlertPresenter.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>

namespace sim {
namespace {

ui::DeviceConfiguration configurationFor(const DeviceProfile& profile) {
    ui::DeviceConfiguration configuration;
    configuration.idiom = profile.idiom == 1 ? UIUserInterfaceIdiomPad : UIUserInterfaceIdiomPhone;
    configuration.screenSize = {profile.width, profile.height};
    configuration.scale = profile.scale;
    return configuration;
}

// The applications SpringBoard has records for: the Clock application and a few others whose
// launch images it leaves to the system.
const std::vector<std::string> kInstalledApplications = {
    kClockBundleIdentifier, "com.apple.mobilesafari", "com.apple.mobilemail",
    "com.apple.MobileSMS",  "com.apple.Preferences",
};

} // namespace

Device::Device(DeviceSettings settings)
    : settings_(std::move(settings)),
      wallClock_([this] { return settings_.startUnixSeconds + clock_.now(); }),
      environment_(configurationFor(settings_.profile)), homeScope_(settings_.home.string()),
      regionScope_(ns::Region{settings_.localeIdentifier, settings_.timeZoneName}) {
    bundles_.add(SpringBoard::kBundleIdentifier,
                 settings_.systemFolder / "System" / "Library" / "CoreServices" / "SpringBoard.app");
    bundles_.add(kClockBundleIdentifier, clockBundleFolder(settings_.systemFolder));
    bundles_.setMainBundleIdentifier(kClockBundleIdentifier);
    registerHostClasses();

    // The hooking libraries come in after the hosts' classes exist and before any of their
    // start-up code runs.
    if (settings_.loadLibraries) {
        ms::LoaderProcess process;
        process.bundleIdentifiers = {SpringBoard::kBundleIdentifier, kClockBundleIdentifier};
        process.executableNames = {"SpringBoard", "MobileTimer"};
        libraries_ = ms::loadLibraries(dynamicLibrariesFolder(settings_.systemFolder), process);
    }
    springBoard_ = SpringBoard::withApplications(kInstalledApplications);
}

Device::~Device() {
    if (app_) {
        quitClock();
    }
}

void Device::registerHostClasses() {
    runtime_.classFor<SpringBoard>();
    runtime_.classFor<SBApplication>();
    runtime_.classFor<AppController>();
    runtime_.classFor<WorldClockViewController>();
    runtime_.classFor<AlarmViewController>();
    runtime_.classFor<StopWatchViewController>();
    runtime_.classFor<StopWatchLapTimeView>();
    runtime_.classFor<TimerViewController>();
}

bool Device::anyLibraryLoaded() const {
    return std::any_of(libraries_.begin(), libraries_.end(),
                       [](const auto& outcome) { return outcome.loaded; });
}

std::string Device::launchClock() {
    std::string image = springBoard_->launchImageNameFor(kClockBundleIdentifier).value_or("");
    app_ = AppController::appController();
    rt::send(app_, clockmsg::applicationDidFinishLaunching, id());
    settle();
    // The start-up pass has run, but nothing has been drawn over the launch image yet.
    showLaunchImage(image, kClockBundleIdentifier);
    return image;
}

void Device::quitClock() {
    // The application's process ends: its timers and alerts end with it.
    for (const auto& pending : runLoop_.pending()) {
        runLoop_.cancel(pending.token);
    }
    environment_.alerts().removeAll();
    // A process that ends is not told: its screens get no disappearance messages, they are
    // simply gone once nothing holds them.
    app_.reset();
}

std::shared_ptr<UIWindow> Device::window() const {
    return app_ ? app_->window() : nullptr;
}

void Device::showLaunchImage(std::string name, std::string bundleIdentifier) {
    launchImageShown_ = ShownLaunchImage{std::move(name), std::move(bundleIdentifier)};
}

void Device::runFor(double seconds) {
    launchImageShown_.reset();
    runLoop_.runFor(seconds);
}

const NSDateFormatter& Device::statusClockFormatter() {
    if (!statusClockFormatter_) {
        statusClockFormatter_ = rt::make<NSDateFormatter>();
        statusClockFormatter_->setDateFormat("h:mm a");
        // Nil locale and zone: the region in force at each use.
        statusClockFormatter_->setLocale(nullptr);
        statusClockFormatter_->setTimeZone(nullptr);
    }
    return *statusClockFormatter_;
}

void Device::settle() {
    launchImageShown_.reset();
    runLoop_.runOnce();
}

} // namespace sim
