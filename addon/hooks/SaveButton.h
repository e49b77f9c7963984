#pragma once
// The Save button on the stopwatch screen: built when the screen loads its view, then following
// the stopwatch: a start, a clear or a save disables it, a stop enables it.

#include "platform/runtime/Forward.h"

#include <memory>

class UIButton;

namespace lv {

/// Enabled look: enabled, title at alpha 1.0. The flag is set first, then the alpha.
void giveEnabledLook(UIButton& button);
/// Disabled look: not enabled, title at alpha 0.2. The flag is set first, then the alpha.
void giveDisabledLook(UIButton& button);
/// Gives the button in the `button` slot a look; an empty slot changes nothing.
void setSaveButtonEnabled(bool enabled);

/// Replacement of the stopwatch screen's `viewDidLoad`: builds the Save button, adds it to the
/// screen's view, then runs the host's own view loading.
void stopwatchViewDidLoad(const id& self, SEL sel);
/// Replacements of `_startTimer`, `_stopTimer`, `_clearAllLaps`: set the look, then run the host's.
void stopwatchStartTimer(const id& self, SEL sel);
void stopwatchStopTimer(const id& self, SEL sel);
void stopwatchClearAllLaps(const id& self, SEL sel);
/// The added `saveButtonClicked`: captures the result and, when it was stored, disables the button.
void stopwatchSaveButtonClicked(const id& self, SEL sel);

} // namespace lv
