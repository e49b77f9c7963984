// The `lapvane` command: the simulated device (sim, demo, window) and the saved-times tools (times).

#include "simulator/CommandWords.h"
#include "simulator/LapvaneCommand.h"

#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    CLI::App app;
    int status = 0;
    sim::defineLapvaneCommand(app, status, LAPVANE_VERSION);
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
