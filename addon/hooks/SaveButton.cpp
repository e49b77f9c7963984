#include "addon/hooks/SaveButton.h"

#include "addon/hooks/AddonState.h"
#include "addon/hooks/ClockBundle.h"
#include "addon/hooks/ClockSettings.h"
#include "addon/hooks/HostMessages.h"
#include "addon/hooks/SavedTimeCapture.h"
#include "platform/runtime/Implementation.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"

namespace lv {
namespace {

constexpr NSUInteger kControlStateNormal = 0;
constexpr NSUInteger kControlStateHighlighted = 1;
constexpr NSUInteger kControlEventTouchUpInside = 64;

// The background for a control state from a bundle image, stretched with a left cap of 10.
void setStretchedBackground(UIButton& button, const std::string& path, NSUInteger state) {
    if (auto image = imageAtPath(path)) {
        button.setBackgroundImageForState(image->stretchableImageWithLeftCapWidthTopCapHeight(10, 0), state);
    }
}

} // namespace

void giveEnabledLook(UIButton& button) {
    button.setEnabled(true);
    button.titleLabel()->setAlpha(1.0);
}

void giveDisabledLook(UIButton& button) {
    button.setEnabled(false);
    button.titleLabel()->setAlpha(0.2);
}

void setSaveButtonEnabled(bool enabled) {
    if (auto button = addonState().button.lock()) {
        enabled ? giveEnabledLook(*button) : giveDisabledLook(*button);
    }
}

void stopwatchViewDidLoad(const id& self, SEL sel) {
    auto view = rt::cast<UIView>(host::ivar::view.get(self));
    auto button = UIButton::buttonWithType(UIButtonType(0));
    addonState().button = button;
    const std::string backgroundPath = clockImagePath("button_silver@2x~iphone");
    button->setFrame(CGRect{{23, 10}, {125, 44}});
    if (clockLastTime() > 0) {
        host::ivar::isTimerRunning.get(self) ? giveDisabledLook(*button) : giveEnabledLook(*button);
    } else {
        giveDisabledLook(*button);
    }
    button->setTitleForState(std::string("Save"), kControlStateNormal);
    button->titleLabel()->setFont(UIFont::boldSystemFontOfSize(24));
    button->titleLabel()->setShadowColor(UIColor::grayColor());
    button->titleLabel()->setShadowOffset(CGSize{0, -1});
    button->addTargetActionForControlEvents(self, host::saveButtonClicked.sel(), kControlEventTouchUpInside);
    setStretchedBackground(*button, backgroundPath, kControlStateNormal);
    // The pressed image shows while the finger is on the button, as a user expects of a button.
    setStretchedBackground(*button, clockImagePath("button_silver_pressed@2x~iphone"),
                           kControlStateHighlighted);
    if (view) {
        view->addSubview(button);
    }
    rt::callImp(host::viewDidLoad, addonState().slots.viewDidLoad, self, sel);
}

void stopwatchStartTimer(const id& self, SEL sel) {
    setSaveButtonEnabled(false);
    rt::callImp(host::startTimer, addonState().slots.startTimer, self, sel);
}

void stopwatchStopTimer(const id& self, SEL sel) {
    setSaveButtonEnabled(true);
    rt::callImp(host::stopTimer, addonState().slots.stopTimer, self, sel);
}

void stopwatchClearAllLaps(const id& self, SEL sel) {
    setSaveButtonEnabled(false);
    rt::callImp(host::clearAllLaps, addonState().slots.clearAllLaps, self, sel);
}

void stopwatchSaveButtonClicked(const id& self, SEL /*sel*/) {
    // A result that could not be stored must not look saved: the button stays as it was, so the
    // user can press Save again.
    if (captureSavedTime(self).written) {
        setSaveButtonEnabled(false);
    }
}

} // namespace lv
