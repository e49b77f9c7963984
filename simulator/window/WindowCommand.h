#pragma once
// `lapvane window`: the simulated device in a window that answers the mouse and the keyboard.

namespace CLI {
class App;
}

namespace sim {

/// Registers `lapvane window`; when run, it sets the exit status.
void addWindowCommand(CLI::App& app, int& status);

} // namespace sim
