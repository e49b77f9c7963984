// `lapvane demo`: the built-in demonstration, in a fresh temporary home, with the screens shown
// as it goes.

#include "simulator/Commands.h"
#include "simulator/DemoScript.h"
#include "simulator/DeviceProfile.h"
#include "simulator/SavedTimesReport.h"
#include "simulator/Session.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <system_error>

namespace sim {

void addDemoCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("demo", "Run the demonstration in a fresh temporary home");
    auto options = std::make_shared<SessionOptions>();
    auto keepHome = std::make_shared<bool>(false);
    options->device = kDefaultDeviceName;
    command->add_option("--device", options->device, "Device kind")
        ->check(CLI::IsMember(deviceProfileNames()))
        ->capture_default_str();
    command->add_option("--locale", options->locale, "Locale for dates (default: the environment's)");
    command->add_option("--tz", options->timeZone, "Time zone (default: the environment's)");
    command->add_option("--now", options->now, "The device's wall clock at start, ISO 8601 (default: now)");
    command->add_flag("--keep-home", *keepHome, "Keep the temporary home folder and print where it is");
    command->callback([&status, options, keepHome] {
        std::error_code error;
        std::string pattern = (std::filesystem::temp_directory_path(error) / "lapvane-demo-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::cerr << "lapvane: cannot make a temporary home folder\n";
            status = 1;
            return;
        }
        options->home = pattern;
        options->echo = true;
        options->reportLibraries = true;
        std::istringstream script(demoScript());
        auto reader = streamLineReader(script, "demo");
        status = runSession(*options, *reader, std::cout, std::cerr);
        if (status == 0) {
            // What the session left in the device's saved-times file, as `lapvane times list`
            // shows it.
            std::cout << "\n$ lapvane times list\n"
                      << listText(readSavedTimesReport(options->home +
                                                       "/Library/Preferences/com.varnoth.lapvane.plist"));
        }
        if (*keepHome) {
            std::cout << "The device's home folder is kept at " << options->home << '\n';
        } else {
            std::filesystem::remove_all(options->home, error);
        }
    });
}

} // namespace sim
