#pragma once
// The device's screen in a GTK window, beside a panel for developers. The virtual clock follows
// the wall clock from GLib's main loop; clicks, drags and keys become the toolkit's gestures
// through ScreenGestures, so nothing below this folder knows GTK.

#include "simulator/script/Session.h"

#include <ostream>

namespace sim {

/// How `lapvane window` starts.
struct WindowOptions {
    SessionOptions session;
    /// Window pixels per screen point: 1 or 2.
    int scale = 2;
};

/// Seconds the launch image stays up after a launch before the application's first screen.
inline constexpr double kLaunchImageSeconds = 0.8;

/// Opens the window and runs until it is closed; returns the exit status. Without a display it
/// says so in one line on `err` and returns 1 before building the device.
int runDeviceWindow(const WindowOptions& options, std::ostream& out, std::ostream& err);

} // namespace sim
