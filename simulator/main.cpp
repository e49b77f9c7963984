// The `lapvane` command: the simulated device (sim, demo, window) and the saved-times tools (times).

#include "simulator/CommandWords.h"
#include "simulator/Commands.h"
#include "simulator/times/TimesCommand.h"
#include "simulator/window/WindowCommand.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    CLI::App app{"Lapvane: the stopwatch add-on on a simulated device", "lapvane"};
    app.set_version_flag("--version", std::string("lapvane ") + LAPVANE_VERSION);
    app.require_subcommand(1);
    // A refused command line is one line, as every other error: what is wrong, and where to look.
    app.failure_message([](const CLI::App* /*app*/, const CLI::Error& e) {
        return "lapvane: " + std::string(e.what()) + " (see --help)\n";
    });
    int status = 0;
    sim::addSimCommand(app, status);
    sim::addDemoCommand(app, status);
    sim::addTimesCommand(app, status);
    sim::addWindowCommand(app, status);
    if (std::string problem = sim::commandWordsProblem(app, {argv + 1, argv + argc}); !problem.empty()) {
        std::cerr << problem;
        return 1;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // A bad option or command line is status 1, as every other refusal; help and the
        // version are 0.
        return app.exit(e) == 0 ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "lapvane: " << e.what() << '\n';
        return 1;
    }
    return status;
}
