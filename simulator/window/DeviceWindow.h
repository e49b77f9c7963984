#pragma once
// The device's screen in a GTK window, beside a panel for developers. The virtual clock follows
// the wall clock from GLib's main loop; clicks, drags and keys become the toolkit's gestures
// through ScreenGestures, so nothing below this folder knows GTK.

#include "simulator/script/LineReader.h"
#include "simulator/script/Session.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace sim {

/// How `lapvane window` starts.
struct WindowOptions {
    SessionOptions session;
    /// Window pixels per screen point; nullopt for the largest that fits the monitor.
    std::optional<double> scale;
    /// Where to write what the person does, as a script; empty for nowhere.
    std::string recordPath;
    /// A script to run in the window, and its lines, read and checked; empty for none.
    std::string playPath;
    std::vector<SourceLine> playLines;
    /// How many times faster than real time the virtual clock runs while a script plays.
    double speed = 1;
};

/// The window's application id; X11's WM_CLASS is made from it.
inline constexpr const char* kWindowApplicationId = "com.varnoth.Lapvane";

/// Seconds the launch image stays up after a launch before the application's first screen.
inline constexpr double kLaunchImageSeconds = 0.8;

/// Opens the window and runs until it is closed; returns the exit status. Without a display it
/// says so in one line on `err` and returns 1 before building the device.
int runDeviceWindow(const WindowOptions& options, std::ostream& out, std::ostream& err);

} // namespace sim
