#pragma once
// `lapvane times`: reads the saved-times file without starting a device.

namespace CLI {
class App;
}

namespace sim {

/// `lapvane times list|export|stats|check`: registers itself with the application and, when
/// run, sets the exit status.
void addTimesCommand(CLI::App& app, int& status);

} // namespace sim
