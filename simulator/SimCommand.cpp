// `lapvane sim [SCRIPT...]`: drives the simulated device from script files, from standard
// input, or from a terminal with a prompt and line editing.

#include "simulator/Commands.h"
#include "simulator/cli/OptionChoices.h"
#include "simulator/device/DeviceHome.h"
#include "simulator/device/DeviceProfile.h"
#include "simulator/device/PathOption.h"
#include "simulator/script/CommandTable.h"
#include "simulator/script/Session.h"
#include "simulator/script/Simulator.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>
#include <unistd.h>

namespace sim {

void addSimCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("sim", "Drive the simulated device from scripts or standard input");
    command->footer("\n" + helpText());
    auto options = std::make_shared<SessionOptions>();
    auto scripts = std::make_shared<std::vector<std::string>>();
    options->device = kDefaultDeviceName;
    command->add_option("scripts", *scripts, "Script files, run in order (default: standard input)")
        ->type_name("SCRIPT");
    auto* homeOption = command
                           ->add_option("--home", options->home,
                                        "The device's home folder (default: " + defaultDeviceHome() + ")")
                           ->type_name("DIR");
    command->add_option("--device", options->device, "Device kind")
        ->type_name("KIND")
        ->check(oneOf(deviceProfileNames()))
        ->capture_default_str();
    command
        ->add_option("--locale", options->locale, "Locale for dates, e.g. en_US (default: LC_ALL, else LANG)")
        ->type_name("LOCALE");
    command->add_option("--tz", options->timeZone, "Time zone, e.g. Europe/Paris (default: TZ)")
        ->type_name("ZONE");
    command->add_option("--now", options->now, "The device's wall clock at start, ISO 8601 (default: now)")
        ->type_name("TIME");
    command->add_flag("--no-addon", options->noAddon, "Start without loading the hooking libraries");
    command->callback([&status, options, scripts, homeOption] {
        if (homeOption->count() == 0) {
            options->home = defaultDeviceHome();
        }
        if (std::string problem = pathOptionProblem("--home", options->home, PathKind::Folder);
            !problem.empty()) {
            std::cerr << "lapvane: " << problem << '\n';
            status = kExitFault;
            return;
        }
        std::unique_ptr<LineReader> reader;
        if (scripts->empty() && isatty(STDIN_FILENO) != 0) {
            options->reportLibraries = true;
            std::cout << "lapvane sim: home " << options->home << ", device " << options->device
                      << ". Type \"help\" for the commands, \"exit\" or Ctrl-D to leave.\n";
            reader = terminalLineReader("lapvane> ");
        } else if (scripts->empty()) {
            // Standard input is read as it comes: another program may be driving the session a
            // line at a time and waiting for each answer.
            reader = streamLineReader(std::cin, "<stdin>");
        } else {
            // Script files are read and checked whole before the device starts: a missing file or
            // a bad line anywhere runs nothing, so a session never stops halfway through its saves.
            auto source = fileLineReader({scripts->begin(), scripts->end()});
            PreparedScript script = prepareScript(*source);
            if (!script.failure.empty()) {
                std::cerr << "error: " << script.failure << " (nothing was run)\n";
                status = kExitFault;
                return;
            }
            if (!script.errors.empty()) {
                for (const auto& error : script.errors) {
                    std::cerr << "error: " << error << '\n';
                }
                std::cerr << "lapvane sim: nothing was run; mend the lines above and run again\n";
                status = kExitRejectedLines;
                return;
            }
            reader = preparedLineReader(std::move(script.lines));
        }
        status = runSession(*options, *reader, std::cout, std::cerr);
    });
}

} // namespace sim
