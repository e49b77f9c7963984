#pragma once
// The window's size: the largest scale at which the device's screen and the panel beside it fit
// the monitor's work area.

#include <gdk/gdk.h>

namespace sim {

/// Scales are multiples of this, so every device's screen is a whole number of pixels.
inline constexpr double kScaleStep = 0.25;
/// The smallest scale the window takes.
inline constexpr double kSmallestScale = 0.25;

/// The largest multiple of kScaleStep (at least kSmallestScale) at which a screen of
/// `pointsWide` x `pointsHigh` points, with `besideWidth` pixels beside it, fits the work area of
/// `display`'s first monitor (its whole geometry where the system does not tell the work area),
/// leaving room for the window's frame. 2 when the display has no monitor.
double fittingScale(GdkDisplay* display, double pointsWide, double pointsHigh, int besideWidth);

} // namespace sim
