#include "addon/hooks/AddonState.h"

#include "addon/browser/LVViewController.h"
#include "platform/uikit/UIButton.h"

namespace lv {

AddonState& addonState() {
    static AddonState state;
    return state;
}

void resetAddonState() {
    addonState() = AddonState{};
}

} // namespace lv
