// `lapvane times`: lists or exports the saved-times file.

#include "simulator/Commands.h"

#include <CLI/CLI.hpp>

#include <stdexcept>

namespace sim {

void addTimesCommand(CLI::App& app, int& status) {
    auto* times = app.add_subcommand("times", "Read the saved-times file");
    times->require_subcommand(1);
    times->add_subcommand("list", "List every section and its records");
    times->add_subcommand("export", "Export the saved times as JSON");
    times->final_callback([&status] {
        status = 1;
        throw std::runtime_error("times: not available in this build yet");
    });
}

} // namespace sim
