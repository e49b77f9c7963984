#include "simulator/script/Session.h"

#include "simulator/device/Device.h"
#include "simulator/device/DeviceFolder.h"
#include "simulator/device/StartTime.h"
#include "simulator/device/TerminalText.h"
#include "simulator/script/Simulator.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <system_error>

namespace sim {
namespace {

// The device of this process. It is never destroyed: the libraries loaded into it keep its
// objects in process-wide slots until the process ends, and those must find the device's
// runtime, run loop and screen still there when they go.
Device* processDevice = nullptr;

double realNow() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

} // namespace

Device* startSessionDevice(const SessionOptions& options, std::ostream& out, std::ostream& err) {
    if (processDevice != nullptr) {
        err << "lapvane: a device is already running in this process\n";
        return nullptr;
    }
    DeviceSettings settings;
    auto profile = deviceProfileNamed(options.device);
    if (!profile) {
        err << "lapvane: unknown device \"" << terminalText(options.device) << "\"\n";
        return nullptr;
    }
    settings.profile = *profile;
    if (!options.timeZone.empty() && !isKnownTimeZone(options.timeZone)) {
        err << "lapvane: unknown time zone \"" << terminalText(options.timeZone)
            << "\"; give a name such as Europe/Berlin or UTC\n";
        return nullptr;
    }
    if (!options.locale.empty() && !isKnownLocale(options.locale)) {
        err << "lapvane: unknown locale \"" << terminalText(options.locale)
            << "\"; give one such as en_US or de_DE\n";
        return nullptr;
    }
    settings.timeZoneName = options.timeZone;
    settings.localeIdentifier = options.locale;
    settings.startUnixSeconds = realNow();
    if (!options.now.empty()) {
        auto start = parseStartTime(options.now, options.timeZone);
        if (!start) {
            err << "lapvane: --now \"" << terminalText(options.now)
                << "\" is not an ISO 8601 date and time (e.g. 2026-12-07T08:30:00Z)\n";
            return nullptr;
        }
        settings.startUnixSeconds = *start;
    }
    auto system = findDeviceSystemFolder();
    if (!system) {
        err << "lapvane: the device's system folder (share/lapvane/device beside the program) is missing\n";
        return nullptr;
    }
    settings.systemFolder = *system;
    settings.home = options.home;
    std::error_code error;
    std::filesystem::create_directories(settings.home / "Library" / "Preferences", error);
    if (error) {
        err << "lapvane: cannot make the home folder " << settings.home.string() << ": " << error.message()
            << '\n';
        return nullptr;
    }
    settings.loadLibraries = !options.noAddon;

    auto device = std::make_unique<Device>(settings);
    processDevice = device.release();
    for (const auto& library : processDevice->libraries()) {
        // A library that was chosen and did not load, or whose filter is damaged, is worth
        // knowing in any session; the others only when a person is watching.
        using Status = ms::LibraryOutcome::Status;
        if (library.status == Status::OpenFailed || library.status == Status::FilterUnreadable) {
            err << "lapvane: " << library.path.filename().string() << " not loaded: " << library.reason
                << '\n';
        } else if (options.reportLibraries) {
            if (library.loaded) {
                out << "add-on " << library.path.filename().string() << " loaded into the device\n";
            } else {
                out << "add-on " << library.path.filename().string() << " not loaded: its filter ("
                    << library.reason << ") names no process on this device\n";
            }
        }
    }
    return processDevice;
}

int runSession(const SessionOptions& options, LineReader& reader, std::ostream& out, std::ostream& err) {
    Device* device = startSessionDevice(options, out, err);
    if (device == nullptr) {
        return kExitFault;
    }
    Simulator simulator(*device, out, err, options.echo);
    simulator.setPictureFolder(options.pictureFolder);
    return simulator.run(reader);
}

} // namespace sim
