#include "simulator/scene/Inspector.h"

#include "simulator/device/Device.h"
#include "simulator/device/TabNames.h"

#include "hosts/clock/StopWatchViewController.h"
#include "platform/uikit/AlertPresenter.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"
#include "platform/uikit/UIWindow.h"

namespace sim {

std::shared_ptr<UITabBarController> Inspector::tabBarController() const {
    auto window = device_->window();
    return window ? std::dynamic_pointer_cast<UITabBarController>(window->rootViewController()) : nullptr;
}

std::shared_ptr<UIViewController> Inspector::selectedController() const {
    auto tabs = tabBarController();
    return tabs ? tabs->selectedViewController() : nullptr;
}

std::vector<std::string> Inspector::tabTitles() const {
    std::vector<std::string> titles;
    if (auto tabs = tabBarController()) {
        for (const auto& controller : tabs->viewControllers()) {
            auto item = controller->tabBarItem();
            titles.push_back(item && item->title() ? *item->title() : controller->title().value_or(""));
        }
    }
    return titles;
}

std::shared_ptr<StopWatchViewController> Inspector::stopwatch() const {
    if (auto tabs = tabBarController()) {
        for (const auto& controller : tabs->viewControllers()) {
            if (auto found = std::dynamic_pointer_cast<StopWatchViewController>(controller)) {
                return found;
            }
        }
    }
    return nullptr;
}

bool Inspector::stopwatchOnScreen() const {
    auto shown = selectedController();
    return shown && shown == stopwatch();
}

std::shared_ptr<UIButton> Inspector::saveButton() const {
    auto screen = stopwatch();
    if (!screen || !screen->isViewLoaded()) {
        return nullptr;
    }
    return findButton(screen->view(), "Save");
}

std::shared_ptr<UIViewController> Inspector::savedController() const {
    auto tabs = tabBarController();
    if (!tabs) {
        return nullptr;
    }
    const auto& controllers = tabs->viewControllers();
    std::vector<std::string> titles = tabTitles();
    for (std::size_t i = 0; i < controllers.size(); ++i) {
        if (titles[i] == savedTabTitle()) {
            return controllers[i];
        }
    }
    return controllers.size() >= 5 ? controllers[4] : nullptr;
}

std::vector<std::shared_ptr<UIAlertView>> Inspector::waitingAlerts() const {
    return device_->environment().alerts().waiting();
}

std::vector<std::shared_ptr<UIAlertView>> Inspector::alerts() const {
    return device_->environment().alerts().stack();
}

std::shared_ptr<UIButton> Inspector::findButton(const std::shared_ptr<UIView>& root,
                                                const std::string& title) {
    for (const auto& button : findAll<UIButton>(root)) {
        if (!button->isHidden() && button->currentTitle() == title) {
            return button;
        }
    }
    return nullptr;
}

} // namespace sim
