#pragma once
// Runs `lapvane window` under a virtual X server of a given size (xvfb-run) and drives it with
// tests/simulator/window/drive-window's steps.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace testing_support {

/// What a driven window left.
struct WindowRun {
    /// drive-window's exit status (0 when every step ran and the window closed).
    int status = -1;
    /// The window's standard output and error (without the frame trace's lines), and the
    /// driver's complaints.
    std::string out;
    std::string err;
    std::string driverErr;
    /// Where the window ran (pictures it wrote, drive-window's `cpu` and `frames` files, grabbed
    /// screens).
    std::string folder;
};

/// True when xvfb-run and xdotool are there.
bool haveWindowTools();

/// Fails the test when they are not: a full run skips nothing.
#define REQUIRE_WINDOW_TOOLS()                                                                               \
    if (!testing_support::haveWindowTools()) {                                                               \
        FAIL() << "xvfb-run and xdotool are needed (scripts/install-deps installs them)";                    \
    }

/// The wait status of a driven window: drive-window's own status as `systemStatus` gave it through
/// xvfb-run, or the window's exit status that drive-window kept in `folder` when it got that far
/// (xvfb-run answers 5 of its own when it cannot clean up after the window closed).
int drivenWindowStatus(const std::string& folder, int systemStatus);

/// The window's standard error in `folder` without the lines of the frame trace that drive-window
/// turns on (its `frames` step counts them).
std::string windowErrors(const std::string& folder);

/// Drives a window on `home` with `steps` in `folder` (a screen of `screen`, e.g. "1024x768"),
/// with the window's `options`.
WindowRun driveWindow(const std::string& home, const std::string& folder, const std::string& steps,
                      const std::vector<std::string>& options, const std::string& screen = "1400x1300");

/// A `dump` without what depends on the moment: the clock (`time`, a pending message's `at`),
/// dates, and the digits of times (a window's run takes as long as the wall clock says, a
/// script's as long as it waits).
nlohmann::json withoutTimes(const nlohmann::json& value, const std::string& key = {});

/// A saved-times file without its time values and dates.
std::string fileWithoutTimes(const std::string& text);

} // namespace testing_support
