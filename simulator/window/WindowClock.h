#pragma once
// The window's clock and drawing: the virtual clock follows the wall clock, and the screen is
// drawn only when it changes, at the display's frame rate while something moves.

namespace sim {

struct WindowState;

/// Moves the virtual clock on by the wall time since the last call (times the speed), unless
/// the launch image is held up; never past the state's clock limit.
void followWallClock(WindowState& state);

/// Follows the wall clock, redraws the screen and arranges the next redraw: at every frame
/// while something moves, else once at the next change (a delayed message due, the status bar's
/// next minute, the launch image's end, a playing script's next line).
void redrawOnChange(WindowState& state);

} // namespace sim
