#pragma once
// The whole `lapvane` command line in one place: its name, description, version flag and every
// subcommand with its options. The program parses with it, and the generator of the manual page
// and of the shell completion reads it, so they describe exactly what the program accepts.

#include <string>

namespace CLI {
class App;
}

namespace sim {

/// Makes `app` the `lapvane` command: name, description, `--version` printing "lapvane VERSION",
/// and the subcommands sim, demo, times and window, which set `status` when they run.
void defineLapvaneCommand(CLI::App& app, int& status, const std::string& version);

} // namespace sim
