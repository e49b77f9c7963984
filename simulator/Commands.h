#pragma once
// The subcommands of `lapvane`. Each registers itself with the application and, when run, sets
// the exit status.

namespace CLI {
class App;
}

namespace sim {

/// `lapvane sim [SCRIPT...]`: drives the simulated device from scripts or standard input.
void addSimCommand(CLI::App& app, int& status);
/// `lapvane demo`: runs the built-in demonstration in a fresh temporary home.
void addDemoCommand(CLI::App& app, int& status);

} // namespace sim
