#include "tests/addon/hooks/FakeHosts.h"

#include "addon/hooks/AddonState.h"
#include "addon/hooks/HostMessages.h"
#include "platform/foundation/NSNumber.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIView.h"

namespace fake {
namespace {
// The host's own timer steps note how the Save button looked when they ran.
void noteSaveButton() {
    auto button = lv::addonState().button.lock();
    saveEnabledWhenHostRan().push_back(button ? std::optional<bool>(button->isEnabled()) : std::nullopt);
}
} // namespace

namespace ivar = lv::host::ivar;

std::vector<std::string>& journal() {
    static std::vector<std::string> entries;
    return entries;
}

std::size_t& subviewsWhenHostLoaded() {
    static std::size_t count = 0;
    return count;
}

std::vector<std::optional<bool>>& saveEnabledWhenHostRan() {
    static std::vector<std::optional<bool>> looks;
    return looks;
}

void SBApplication::describe(rt::ClassBuilder& b) {
    b.ivar(ivar::bundleIdentifier);
    b.method<&SBApplication::currentDefaultPNGName>(lv::host::currentDefaultPNGName);
}

std::shared_ptr<SBApplication> SBApplication::withBundleIdentifier(const char* identifier) {
    auto application = rt::make<SBApplication>();
    if (identifier != nullptr) {
        ivar::bundleIdentifier.set(application, NSString::with(identifier));
    }
    return application;
}

std::shared_ptr<NSString> SBApplication::currentDefaultPNGName() {
    journal().push_back("host _currentDefaultPNGName");
    return NSString::with("Default.png");
}

std::shared_ptr<Screen> Screen::titled(const std::string& title) {
    auto screen = rt::make<Screen>();
    screen->setTitle(title);
    return screen;
}

void AppController::describe(rt::ClassBuilder& b) {
    b.ivar(ivar::tabBarController);
    b.method<&AppController::applicationDidFinishLaunching>(lv::host::applicationDidFinishLaunching);
    b.method<&AppController::selectViewController>(lv::host::selectViewController);
}

void AppController::applicationDidFinishLaunching(id /*application*/) {
    journal().push_back("host applicationDidFinishLaunching:");
    auto tabs = rt::make<UITabBarController>();
    tabs->setViewControllers({Screen::titled("World Clock"), Screen::titled("Alarm"),
                              Screen::titled("Stopwatch"), Screen::titled("Timer")});
    tabs->setSelectedIndex(1);
    ivar::tabBarController.set(self(), tabs);
}

void AppController::selectViewController(id controller) {
    journal().push_back("host _selectViewController:");
    if (auto tabs = tabBarController()) {
        tabs->setSelectedViewController(rt::cast<UIViewController>(controller));
    }
}

std::shared_ptr<UITabBarController> AppController::tabBarController() {
    return rt::cast<UITabBarController>(ivar::tabBarController.get(self()));
}

void LapTimeView::describe(rt::ClassBuilder& b) {
    b.method<&LapTimeView::currentLapTime>(lv::host::currentLapTime);
}

void StopWatchViewController::describe(rt::ClassBuilder& b) {
    b.ivar(ivar::isTimerRunning).ivar(ivar::laptimeView).ivar(ivar::laps);
    b.method<&StopWatchViewController::viewDidLoad>(lv::host::viewDidLoad);
    b.method<&StopWatchViewController::startTimer>(lv::host::startTimer);
    b.method<&StopWatchViewController::stopTimer>(lv::host::stopTimer);
    b.method<&StopWatchViewController::clearAllLaps>(lv::host::clearAllLaps);
}

std::shared_ptr<StopWatchViewController> StopWatchViewController::make() {
    auto screen = rt::make<StopWatchViewController>();
    screen->initWithNibNameBundle(std::nullopt, nullptr);
    ivar::laptimeView.set(screen, rt::make<LapTimeView>());
    ivar::laps.set(screen, NSMutableArray::with({NSNumber::withDouble(30.04)}));
    return screen;
}

void StopWatchViewController::viewDidLoad() {
    journal().push_back("host viewDidLoad");
    auto root = rt::cast<UIView>(ivar::view.get(self()));
    subviewsWhenHostLoaded() = root ? root->subviews().size() : 0;
}
void StopWatchViewController::startTimer() {
    journal().push_back("host _startTimer");
    noteSaveButton();
}
void StopWatchViewController::stopTimer() {
    journal().push_back("host _stopTimer");
    noteSaveButton();
}
void StopWatchViewController::clearAllLaps() {
    journal().push_back("host _clearAllLaps");
    noteSaveButton();
}

void StopWatchViewController::setRunning(bool running) {
    ivar::isTimerRunning.set(self(), running);
}

} // namespace fake
