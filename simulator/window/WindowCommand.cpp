// `lapvane window`: the options of `lapvane sim` that describe the device, the window's scale,
// and a script to record or to play.

#include "simulator/window/WindowCommand.h"

#include "simulator/device/DeviceHome.h"
#include "simulator/device/DeviceProfile.h"
#include "simulator/device/PathOption.h"
#include "simulator/window/DeviceWindow.h"
#include "simulator/window/WindowModule.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>
#include <memory>

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
        ->check([](const std::string& path) { return pathOptionProblem({}, path, PathKind::Folder); });
    command->add_option("--device", options->session.device, "Device kind")
        ->check(CLI::IsMember(deviceProfileNames()))
        ->capture_default_str();
    command->add_option("--locale", options->session.locale,
                        "Locale for dates, e.g. en_US (default: the environment's)");
    command->add_option("--tz", options->session.timeZone,
                        "Time zone, e.g. Europe/Paris (default: the environment's)");
    command->add_option("--now", options->session.now,
                        "The device's wall clock at start, ISO 8601 (default: now)");
    command
        ->add_option("--scale", *scale,
                     "Window pixels per screen point, e.g. 1, 1.5, 2; auto: the largest that fits the screen")
        ->check(
            [](const std::string& text) {
                auto value = positiveNumber(text);
                return text == "auto" || (value && *value >= 0.25 && *value <= 8)
                           ? std::string()
                           : std::string("--scale takes auto or a number from 0.25 to 8");
            },
            "auto|NUMBER")
        ->capture_default_str();
    command->add_option("--record", options->recordPath,
                        "Write what you do in the window to FILE as a `lapvane sim` script");
    command->add_option("--play", options->playPath, "Run the `lapvane sim` script FILE in the window");
    command->add_option("--speed", *speed, "With --play: how many times faster than real time (default 1)")
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
        status = openDeviceWindow(*options, std::cout, std::cerr);
    });
}

} // namespace sim
