#pragma once
// When the device's screen next changes by itself, for a view that draws only on change (the
// window): at every frame while something moves (a view animation plays, or a platform step is
// queued on the run loop: each is the end of an animation, a bar's transition, an animated scroll,
// a row animation or an alert coming or going); otherwise not before the next of: a delayed
// message due, an animation's delayed start, a running stopwatch's next tenth of a second while
// its screen shows (its total and its lap each show tenths), the status bar's clock turning to the next
// minute.

#include <optional>

namespace sim {

class Device;

/// What the screen does by itself from now on.
struct ScreenActivity {
    /// True while it changes at every frame.
    bool moving = false;
    /// Otherwise, the virtual time of the next change, if any.
    std::optional<double> nextChange;
};

/// The device's screen from its virtual clock's present moment.
ScreenActivity screenActivity(Device& device);

/// The time after `seconds` at which a display of tenths that cuts (never rounds) shows its next
/// value.
double nextTenthAfter(double seconds);

} // namespace sim
