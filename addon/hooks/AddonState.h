#pragma once
// The library's process-wide state: the six slots that keep the replaced host implementations,
// the Save button built last, and the one browser controller. Tests reset it between cases.

#include "platform/runtime/Forward.h"

#include <memory>

class UIButton;
class LVViewController;

namespace lv {

/// The replaced implementations, one slot per replacement, empty until installation.
struct ReplacedMethods {
    IMP currentDefaultPNGName;
    IMP applicationDidFinishLaunching;
    IMP viewDidLoad;
    IMP clearAllLaps;
    IMP stopTimer;
    IMP startTimer;
};

struct AddonState {
    ReplacedMethods slots;
    /// `button`: the Save button built last. It does not own the button; the stopwatch screen's
    /// view does, so once that view is gone the slot reads empty.
    std::weak_ptr<UIButton> button;
    /// `LVVC`: the one browser controller, owned for the life of the process.
    std::shared_ptr<LVViewController> LVVC;
};

/// The state of this process.
AddonState& addonState();
/// Empties every slot, as at load. For tests only.
void resetAddonState();

} // namespace lv
