// `lapvane demo`: the built-in demonstration, in a fresh temporary home, with the screens shown
// as it goes and a picture of each step written into a folder it names at the end.

#include "simulator/Commands.h"
#include "simulator/DemoScript.h"
#include "simulator/cli/OptionChoices.h"
#include "simulator/device/DeviceProfile.h"
#include "simulator/device/PathOption.h"
#include "simulator/script/Session.h"
#include "simulator/times/LapStatistics.h"
#include "simulator/times/SavedTimesReport.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <system_error>

namespace sim {
namespace {

// A new folder in the temporary folder, from a mkdtemp pattern; empty when it cannot be made.
std::string makeTemporaryFolder(const std::string& name) {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / (name + "-XXXXXX")).string();
    return mkdtemp(pattern.data()) == nullptr ? std::string() : pattern;
}

} // namespace

void addDemoCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("demo", "Run the demonstration in a fresh temporary home");
    auto options = std::make_shared<SessionOptions>();
    auto keepHome = std::make_shared<bool>(false);
    options->device = kDefaultDeviceName;
    command->add_option("--device", options->device, "Device kind")
        ->type_name("KIND")
        ->check(oneOf(deviceProfileNames()))
        ->capture_default_str();
    command->add_option("--locale", options->locale, "Locale for dates (default: LC_ALL, else LANG)")
        ->type_name("LOCALE");
    command->add_option("--tz", options->timeZone, "Time zone (default: TZ)")->type_name("ZONE");
    command->add_option("--now", options->now, "The device's wall clock at start, ISO 8601 (default: now)")
        ->type_name("TIME");
    command->add_flag("--keep-home", *keepHome, "Keep the temporary home folder and print where it is");
    command
        ->add_option("--pictures", options->pictureFolder,
                     "Folder for the pictures of each step (default: a new one in the temporary folder)")
        ->type_name("DIR")
        ->check([](const std::string& path) { return pathOptionProblem({}, path, PathKind::Folder); });
    command->callback([&status, options, keepHome] {
        std::error_code error;
        options->home = makeTemporaryFolder("lapvane-demo");
        if (options->home.empty()) {
            std::cerr << "lapvane: cannot make a temporary home folder\n";
            status = 1;
            return;
        }
        if (options->pictureFolder.empty()) {
            options->pictureFolder = makeTemporaryFolder("lapvane-demo-pictures");
        } else {
            std::filesystem::create_directories(options->pictureFolder, error);
        }
        if (options->pictureFolder.empty() || error) {
            std::cerr << "lapvane: cannot make the folder for the pictures"
                      << (options->pictureFolder.empty() ? std::string() : " " + options->pictureFolder)
                      << (error ? ": " + error.message() : std::string()) << '\n';
            std::filesystem::remove_all(options->home, error);
            status = 1;
            return;
        }
        options->echo = true;
        options->reportLibraries = true;
        std::istringstream script(demoScript());
        auto reader = streamLineReader(script, "demo");
        status = runSession(*options, *reader, std::cout, std::cerr);
        if (status == 0) {
            // What the session left in the device's saved-times file, as `lapvane times list`
            // and `lapvane times stats` show it.
            SavedTimesReport report =
                readSavedTimesReport(options->home + "/Library/Preferences/com.varnoth.lapvane.plist");
            std::cout << "\n$ lapvane times list\n"
                      << listText(report) << "\n$ lapvane times stats\n"
                      << statisticsText(lapStatistics(report));
        }
        std::cout << "\nPictures of each step: " << options->pictureFolder << '\n';
        if (*keepHome) {
            std::cout << "The device's home folder is kept at " << options->home << '\n';
        } else {
            std::filesystem::remove_all(options->home, error);
        }
    });
}

} // namespace sim
