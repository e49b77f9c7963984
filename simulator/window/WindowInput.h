#pragma once
// The pointer and the keyboard on the window: presses, drags and keys on the device's screen
// become the toolkit's gestures through ScreenGestures.

#include <gtk/gtk.h>

namespace sim {

struct WindowState;

/// Connects the pointer to the screen and the keys to the window.
void connectInput(WindowState& state);

/// After anything that may have changed the device: the panel's dump and the screen are redrawn.
void afterInput(WindowState& state);

/// Quits and relaunches the Clock application; the launch image shows for a moment.
void relaunch(WindowState& state);

/// Writes a picture of the screen into the working folder and says where.
void takeShot(WindowState& state);

/// A coasting table stops where it is (a finger lands on it, or the window closes) and its
/// scroll is told whole.
void stopCoasting(WindowState& state);

/// Shows the current dump in the panel.
void refreshDump(WindowState& state);

} // namespace sim
