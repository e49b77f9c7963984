#include "hosts/clock/AppController.h"

#include "hosts/clock/AlarmViewController.h"
#include "hosts/clock/ClockMessages.h"
#include "hosts/clock/ClockPreferences.h"
#include "hosts/clock/StopWatchViewController.h"
#include "hosts/clock/TimerViewController.h"
#include "hosts/clock/WorldClockViewController.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>

void AppController::describe(rt::ClassBuilder& b) {
    b.ivar(clockivar::tabBarController).ivar(clockivar::window);
    b.method<&AppController::applicationDidFinishLaunching>(clockmsg::applicationDidFinishLaunching);
    b.method<&AppController::selectViewController>(clockmsg::selectViewController);
}

std::shared_ptr<AppController> AppController::appController() {
    return rt::make<AppController>();
}

void AppController::applicationDidFinishLaunching(id /*application*/) {
    auto window = UIView::withFrame<UIWindow>(UIScreen::mainScreen()->bounds());
    std::vector<std::shared_ptr<UIViewController>> controllers = {
        WorldClockViewController::worldClock(),
        AlarmViewController::alarm(),
        StopWatchViewController::stopwatch(),
        TimerViewController::timer(),
    };
    auto tabs = rt::make<UITabBarController>();
    tabs->initWithNibNameBundle(std::nullopt, nullptr);
    tabs->setViewControllers(controllers);
    tabs->setDelegate(std::static_pointer_cast<UITabBarControllerDelegate>(self<AppController>()));
    clockivar::tabBarController.set(*this, tabs);
    clockivar::window.set(*this, window);

    // The tab last shown, if it is one of the four this application has.
    long long last = clk::ClockPreferences::integerValue(clk::kLastSelectedViewKey);
    if (last >= 1 && last <= static_cast<long long>(controllers.size())) {
        rt::send(self(), clockmsg::selectViewController, controllers[static_cast<std::size_t>(last - 1)]);
    }
    window->setRootViewController(tabs);
    window->makeKeyAndVisible();
}

void AppController::selectViewController(id controller) {
    auto target = rt::cast<UIViewController>(controller);
    auto tabs = tabBarController();
    if (!target || !tabs) {
        return;
    }
    tabs->setSelectedViewController(target);
}

std::shared_ptr<UITabBarController> AppController::tabBarController() const {
    return rt::cast<UITabBarController>(clockivar::tabBarController.get(*this));
}

std::shared_ptr<UIWindow> AppController::window() const {
    return rt::cast<UIWindow>(clockivar::window.get(*this));
}

void AppController::tabBarControllerDidSelectViewController(
    const std::shared_ptr<UITabBarController>& tabBarController,
    const std::shared_ptr<UIViewController>& controller) {
    const auto& all = tabBarController->viewControllers();
    auto found = std::find(all.begin(), all.end(), controller);
    if (found == all.end()) {
        return;
    }
    // The position in the tab bar as it stands now, whoever arranged it.
    auto position = static_cast<long long>(found - all.begin()) + 1;
    clk::ClockPreferences::update({{clk::kLastSelectedViewKey, NSNumber::withInteger(position)}});
}
