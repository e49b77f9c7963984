// `lapvane sim` and `lapvane demo`: placeholders until the simulated device lands.

#include "simulator/Commands.h"

#include <CLI/CLI.hpp>

#include <stdexcept>

namespace sim {

void addSimCommand(CLI::App& app, int& status) {
    app.add_subcommand("sim", "Drive the simulated device")->final_callback([&status] {
        status = 1;
        throw std::runtime_error("sim: not available in this build yet");
    });
}

void addDemoCommand(CLI::App& app, int& status) {
    app.add_subcommand("demo", "Run the demonstration")->final_callback([&status] {
        status = 1;
        throw std::runtime_error("demo: not available in this build yet");
    });
}

} // namespace sim
