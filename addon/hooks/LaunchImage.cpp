#include "addon/hooks/LaunchImage.h"

#include "addon/hooks/AddonState.h"
#include "addon/hooks/ClockBundle.h"
#include "addon/hooks/ClockSettings.h"
#include "addon/hooks/HostMessages.h"
#include "platform/foundation/StringFormat.h"
#include "platform/runtime/Implementation.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIScreen.h"

namespace lv {

std::string clockLaunchImageName(int lastSelectedView, const std::string& suffix) {
    auto fill = NSString::with(suffix);
    switch (lastSelectedView) {
    case 1:
        return ns::format("Default-clock-worldclock%@.png", fill);
    case 2:
        return ns::format("Default-clock-alarm%@.png", fill);
    case 3:
        return ns::format("Default-clock-timer-running%@.png", fill);
    case 4:
        return ns::format("Default-clock-stopwatch%@.png", fill);
    case 5:
        return ns::format("Default-clock-saved%@.png", fill);
    default:
        return ns::format("Default%@.png", fill);
    }
}

std::string launchImageSuffix() {
    if (UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiom(0) &&
        UIScreen::mainScreen()->bounds().size.height == 568.0) {
        return "-568h@2x~lapvane";
    }
    return "@2x~lapvane";
}

std::shared_ptr<NSString> applicationCurrentDefaultPNGName(const id& self, SEL sel) {
    auto bundleIdentifier = host::ivar::bundleIdentifier.get(self);
    if (!bundleIdentifier || bundleIdentifier->str() != kClockBundleIdentifier) {
        return rt::callImp(host::currentDefaultPNGName, addonState().slots.currentDefaultPNGName, self, sel);
    }
    const int lastSelected = clockLastSelectedView();
    return NSString::with(clockLaunchImageName(lastSelected, launchImageSuffix()));
}

} // namespace lv
