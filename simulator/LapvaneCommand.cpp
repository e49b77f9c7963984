#include "simulator/LapvaneCommand.h"

#include "simulator/Commands.h"
#include "simulator/times/TimesCommand.h"
#include "simulator/window/WindowCommand.h"

#include <CLI/CLI.hpp>

namespace sim {

void defineLapvaneCommand(CLI::App& app, int& status, const std::string& version) {
    app.name("lapvane");
    app.description("Lapvane: the stopwatch add-on on a simulated device");
    app.set_version_flag("--version", "lapvane " + version);
    app.require_subcommand(1);
    // A refused command line is one line, as every other error: what is wrong, and where to look.
    app.failure_message([](const CLI::App* /*app*/, const CLI::Error& e) {
        return "lapvane: " + std::string(e.what()) + " (see --help)\n";
    });
    addSimCommand(app, status);
    addDemoCommand(app, status);
    addTimesCommand(app, status);
    addWindowCommand(app, status);
}

} // namespace sim
