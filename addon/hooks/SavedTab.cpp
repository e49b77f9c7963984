#include "addon/hooks/SavedTab.h"

#include "addon/browser/LVViewController.h"
#include "addon/hooks/AddonState.h"
#include "addon/hooks/ClockBundle.h"
#include "addon/hooks/ClockSettings.h"
#include "addon/hooks/HostMessages.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKitMessages.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"

#include <vector>

namespace lv {

void appControllerDidFinishLaunching(const id& self, SEL sel, id application) {
    rt::callImp(host::applicationDidFinishLaunching, addonState().slots.applicationDidFinishLaunching, self,
                sel, application);
    const int lastSelected = clockLastSelectedView();
    const std::string iconPath = clockImagePath("save_icon");
    auto tabBarController = rt::cast<UITabBarController>(host::ivar::tabBarController.get(self));
    if (!tabBarController) {
        return;
    }
    std::vector<std::shared_ptr<UIViewController>> controllers = tabBarController->viewControllers();
    // The host's tab bar holds four controllers; with fewer there is nothing sound to rearrange.
    if (controllers.size() < 4) {
        return;
    }
    std::swap(controllers[2], controllers[3]);
    auto browser = rt::make<LVViewController>();
    rt::send(browser, msg::initWithNibNameBundle, std::nullopt, nullptr);
    addonState().LVVC = browser;
    browser->setTitle(std::string("Saved"));
    browser->tabBarItem()->setImage(imageAtPath(iconPath));
    controllers.push_back(browser);
    tabBarController->setViewControllers(controllers);
    // The stored position names a tab only from 1 to the number of tabs; any other value (a
    // missing key reads 0) leaves the tab the host chose.
    if (lastSelected >= 1 && static_cast<std::size_t>(lastSelected) <= controllers.size()) {
        rt::send(self, host::selectViewController,
                 id(controllers[static_cast<std::size_t>(lastSelected - 1)]));
    }
}

} // namespace lv
