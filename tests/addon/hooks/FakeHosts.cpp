#include "tests/addon/hooks/FakeHosts.h"

#include "addon/hooks/AddonState.h"
#include "platform/foundation/NSNumber.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIView.h"

namespace fake {
namespace {
void setIvar(const id& object, const char* name, id value) {
    object_setIvar(object, class_getInstanceVariable(object_getClass(object), name), std::move(value));
}

// The host's own timer steps note how the Save button looked when they ran.
void noteSaveButton() {
    auto button = lv::addonState().button.lock();
    saveEnabledWhenHostRan().push_back(button ? std::optional<bool>(button->isEnabled()) : std::nullopt);
}
} // namespace

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
    b.ivar("_bundleIdentifier", "@");
    b.method<&SBApplication::currentDefaultPNGName>("_currentDefaultPNGName", "@@:");
}

std::shared_ptr<SBApplication> SBApplication::withBundleIdentifier(const char* identifier) {
    auto application = rt::make<SBApplication>();
    if (identifier != nullptr) {
        setIvar(application, "_bundleIdentifier", NSString::with(identifier));
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
    b.ivar("_tabBarController", "@");
    b.method<&AppController::applicationDidFinishLaunching>("applicationDidFinishLaunching:", "v@:@");
    b.method<&AppController::selectViewController>("_selectViewController:", "v@:@");
}

void AppController::applicationDidFinishLaunching(id /*application*/) {
    journal().push_back("host applicationDidFinishLaunching:");
    auto tabs = rt::make<UITabBarController>();
    tabs->setViewControllers({Screen::titled("World Clock"), Screen::titled("Alarm"),
                              Screen::titled("Stopwatch"), Screen::titled("Timer")});
    tabs->setSelectedIndex(1);
    setIvar(self(), "_tabBarController", tabs);
}

void AppController::selectViewController(id controller) {
    journal().push_back("host _selectViewController:");
    if (auto tabs = tabBarController()) {
        tabs->setSelectedViewController(rt::cast<UIViewController>(controller));
    }
}

std::shared_ptr<UITabBarController> AppController::tabBarController() {
    return rt::cast<UITabBarController>(
        object_getIvar(self(), class_getInstanceVariable(object_getClass(self()), "_tabBarController")));
}

void LapTimeView::describe(rt::ClassBuilder& b) {
    b.method<&LapTimeView::currentLapTime>("currentLapTime", "d@:");
}

void StopWatchViewController::describe(rt::ClassBuilder& b) {
    b.ivar("_isTimerRunning", "c").ivar("_laptimeView", "@").ivar("_laps", "@");
    b.method<&StopWatchViewController::viewDidLoad>("viewDidLoad", "v@:");
    b.method<&StopWatchViewController::startTimer>("_startTimer", "v@:");
    b.method<&StopWatchViewController::stopTimer>("_stopTimer", "v@:");
    b.method<&StopWatchViewController::clearAllLaps>("_clearAllLaps", "v@:");
}

std::shared_ptr<StopWatchViewController> StopWatchViewController::make() {
    auto screen = rt::make<StopWatchViewController>();
    screen->initWithNibNameBundle(std::nullopt, nullptr);
    setIvar(screen, "_laptimeView", rt::make<LapTimeView>());
    setIvar(screen, "_laps", NSMutableArray::with({NSNumber::withDouble(30.04)}));
    return screen;
}

void StopWatchViewController::viewDidLoad() {
    journal().push_back("host viewDidLoad");
    auto root =
        rt::cast<UIView>(object_getIvar(self(), class_getInstanceVariable(object_getClass(self()), "_view")));
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
    Ivar flag = class_getInstanceVariable(object_getClass(self()), "_isTimerRunning");
    ivarBase()[ivar_getOffset(flag)] = std::byte{running ? std::uint8_t{1} : std::uint8_t{0}};
}

} // namespace fake
