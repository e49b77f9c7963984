#pragma once
// The Saved tab in the Clock application's tab bar.

#include "platform/runtime/Forward.h"

namespace lv {

/// Replacement of AppController's `applicationDidFinishLaunching:`: runs the host's start-up,
/// then swaps the timer and stopwatch tabs, appends the Saved tab and selects the tab shown last.
void appControllerDidFinishLaunching(const id& self, SEL sel, id application);

} // namespace lv
