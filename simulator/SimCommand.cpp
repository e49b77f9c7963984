// `lapvane sim [SCRIPT...]`: drives the simulated device from script files, from standard
// input, or from a terminal with a prompt and line editing.

#include "simulator/Commands.h"
#include "simulator/device/DeviceHome.h"
#include "simulator/device/DeviceProfile.h"
#include "simulator/script/Session.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <unistd.h>

namespace sim {

void addSimCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("sim", "Drive the simulated device from scripts or standard input");
    auto options = std::make_shared<SessionOptions>();
    auto scripts = std::make_shared<std::vector<std::string>>();
    options->device = kDefaultDeviceName;
    command->add_option("scripts", *scripts, "Script files, run in order (default: standard input)");
    command->add_option("--home", options->home,
                        "The device's home folder (default: " + defaultDeviceHome() + ")");
    command->add_option("--device", options->device, "Device kind")
        ->check(CLI::IsMember(deviceProfileNames()))
        ->capture_default_str();
    command->add_option("--locale", options->locale,
                        "Locale for dates, e.g. en_US (default: the environment's)");
    command->add_option("--tz", options->timeZone,
                        "Time zone, e.g. Europe/Paris (default: the environment's)");
    command->add_option("--now", options->now, "The device's wall clock at start, ISO 8601 (default: now)");
    command->add_flag("--no-addon", options->noAddon, "Start without loading the hooking libraries");
    command->callback([&status, options, scripts] {
        if (options->home.empty()) {
            options->home = defaultDeviceHome();
        }
        std::unique_ptr<LineReader> reader;
        if (!scripts->empty()) {
            reader = fileLineReader({scripts->begin(), scripts->end()});
        } else if (isatty(STDIN_FILENO) != 0) {
            options->reportLibraries = true;
            std::cout << "lapvane sim: home " << options->home << ", device " << options->device
                      << ". Type \"help\" for the commands.\n";
            reader = terminalLineReader("lapvane> ");
        } else {
            reader = streamLineReader(std::cin, "<stdin>");
        }
        status = runSession(*options, *reader, std::cout, std::cerr);
    });
}

} // namespace sim
