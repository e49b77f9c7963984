#pragma once
// When the device's screen next changes by itself, for a view that draws only on change (the
// window): at every frame while something moves (the stopwatch runs, or a platform animation
// has not ended: every step the platform queues on the run loop is the end of one), otherwise
// not before the next delayed message is due or the status bar's clock turns to the next
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

} // namespace sim
