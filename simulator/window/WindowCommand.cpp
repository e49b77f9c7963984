// `lapvane window`: the options of `lapvane sim` that describe the device, the window's scale,
// and a script to record or to play.

#include "simulator/window/WindowCommand.h"

#include "simulator/cli/OptionChoices.h"
#include "simulator/device/DeviceHome.h"
#include "simulator/device/DeviceProfile.h"
#include "simulator/device/PathOption.h"
#include "simulator/script/LineReader.h"
#include "simulator/script/Simulator.h"
#include "simulator/window/DeviceWindow.h"
#include "simulator/window/WindowModule.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

namespace sim {
namespace {

// A positive decimal number, the whole text; nullopt otherwise.
std::optional<double> positiveNumber(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || at != end || !(value > 0) || value > 1e6) {
        return std::nullopt;
    }
    return value;
}

// True when `a` and `b` name the same file, or would once written.
bool sameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error)) {
        return true;
    }
    auto left = std::filesystem::weakly_canonical(a, error);
    auto right = std::filesystem::weakly_canonical(b, error);
    return !error && left == right;
}

// The lines of the script to play, read and checked whole; nullopt, with the errors printed as
// `lapvane sim` prints them and `status` set as it sets it, when it cannot be played.
std::optional<std::vector<SourceLine>> preparedPlay(const std::string& path, int& status) {
    auto source = fileLineReader({path});
    PreparedScript script = prepareScript(*source);
    if (!script.failure.empty()) {
        std::cerr << "error: " << script.failure << " (nothing was run)\n";
        status = kExitFault;
        return std::nullopt;
    }
    if (!script.errors.empty()) {
        for (const auto& error : script.errors) {
            std::cerr << "error: " << error << '\n';
        }
        std::cerr << "lapvane window: nothing was run; mend the lines above and run again\n";
        status = kExitRejectedLines;
        return std::nullopt;
    }
    return std::move(script.lines);
}

} // namespace

void addWindowCommand(CLI::App& app, int& status) {
    auto* command =
        app.add_subcommand("window", "Show the simulated device in a window that takes the mouse");
    auto options = std::make_shared<WindowOptions>();
    auto scale = std::make_shared<std::string>("auto");
    auto speed = std::make_shared<std::string>("1");
    options->session.device = kDefaultDeviceName;
    command
        ->add_option("--home", options->session.home,
                     "The device's home folder (default: " + defaultDeviceHome() + ")")
        ->type_name("DIR")
        ->check([](const std::string& path) { return pathOptionProblem({}, path, PathKind::Folder); });
    command->add_option("--device", options->session.device, "Device kind")
        ->type_name("KIND")
        ->check(oneOf(deviceProfileNames()))
        ->capture_default_str();
    command
        ->add_option("--locale", options->session.locale,
                     "Locale for dates, e.g. en_US (default: LC_ALL, else LANG)")
        ->type_name("LOCALE");
    command->add_option("--tz", options->session.timeZone, "Time zone, e.g. Europe/Paris (default: TZ)")
        ->type_name("ZONE");
    command
        ->add_option("--now", options->session.now,
                     "The device's wall clock at start, ISO 8601 (default: now)")
        ->type_name("TIME");
    command
        ->add_option("--scale", *scale,
                     "Window pixels per screen point, e.g. 1, 1.5, 2; auto: the largest that fits the screen")
        ->type_name("SCALE")
        ->check(
            [](const std::string& text) {
                auto value = positiveNumber(text);
                return text == "auto" || (value && *value >= 0.25 && *value <= 8)
                           ? std::string()
                           : std::string("--scale takes auto or a number from 0.25 to 8");
            },
            "auto|NUMBER")
        ->capture_default_str();
    command
        ->add_option("--record", options->recordPath,
                     "Write what you do in the window to FILE as a `lapvane sim` script")
        ->type_name("FILE")
        ->check([](const std::string& path) { return pathOptionProblem({}, path, PathKind::NewFile); });
    auto* play =
        command->add_option("--play", options->playPath, "Run the `lapvane sim` script FILE in the window")
            ->type_name("FILE");
    command->add_option("--speed", *speed, "With --play: how many times faster than real time (default 1)")
        ->needs(play)
        ->type_name("N")
        ->check(
            [](const std::string& text) {
                return positiveNumber(text) ? std::string() : std::string("--speed takes a positive number");
            },
            "NUMBER");
    command->add_flag("--no-addon", options->session.noAddon, "Start without loading the hooking libraries");
    command->callback([&status, options, scale, speed] {
        if (options->session.home.empty()) {
            options->session.home = defaultDeviceHome();
        }
        options->scale = *scale == "auto" ? std::nullopt : positiveNumber(*scale);
        options->speed = positiveNumber(*speed).value_or(1);
        if (!options->playPath.empty()) {
            if (sameFile(options->recordPath, options->playPath)) {
                std::cerr << "lapvane: --record: " << options->playPath
                          << " is the script given to --play; record to another file (see --help)\n";
                status = kExitFault;
                return;
            }
            // As `lapvane sim` does: the whole script is read and checked before the device starts,
            // so a missing file or a bad line anywhere runs nothing and opens no window.
            std::optional<std::vector<SourceLine>> lines = preparedPlay(options->playPath, status);
            if (!lines) {
                return;
            }
            options->playLines = std::move(*lines);
        }
        status = openDeviceWindow(*options, std::cout, std::cerr);
    });
}

} // namespace sim
