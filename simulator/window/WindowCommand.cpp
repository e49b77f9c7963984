// `lapvane window`: the options of `lapvane sim` that describe the device, and the window's
// scale.

#include "simulator/window/WindowCommand.h"

#include "simulator/device/DeviceHome.h"
#include "simulator/device/DeviceProfile.h"
#include "simulator/window/DeviceWindow.h"
#include "simulator/window/WindowModule.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace sim {

void addWindowCommand(CLI::App& app, int& status) {
    auto* command =
        app.add_subcommand("window", "Show the simulated device in a window that takes the mouse");
    auto options = std::make_shared<WindowOptions>();
    options->session.device = kDefaultDeviceName;
    command->add_option("--home", options->session.home,
                        "The device's home folder (default: " + defaultDeviceHome() + ")");
    command->add_option("--device", options->session.device, "Device kind")
        ->check(CLI::IsMember(deviceProfileNames()))
        ->capture_default_str();
    command->add_option("--locale", options->session.locale,
                        "Locale for dates, e.g. en_US (default: the environment's)");
    command->add_option("--tz", options->session.timeZone,
                        "Time zone, e.g. Europe/Paris (default: the environment's)");
    command->add_option("--scale", options->scale, "Window pixels per screen point")
        ->check(CLI::IsMember({1, 2}))
        ->capture_default_str();
    command->add_flag("--no-addon", options->session.noAddon, "Start without loading the hooking libraries");
    command->callback([&status, options] {
        if (options->session.home.empty()) {
            options->session.home = defaultDeviceHome();
        }
        status = openDeviceWindow(*options, std::cout, std::cerr);
    });
}

} // namespace sim
