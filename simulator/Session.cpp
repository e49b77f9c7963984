#include "simulator/Session.h"

#include "simulator/Device.h"
#include "simulator/DeviceFolder.h"
#include "simulator/Simulator.h"
#include "simulator/StartTime.h"

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

int runSession(const SessionOptions& options, LineReader& reader, std::ostream& out, std::ostream& err) {
    if (processDevice != nullptr) {
        err << "lapvane: a device is already running in this process\n";
        return kExitFault;
    }
    DeviceSettings settings;
    auto profile = deviceProfileNamed(options.device);
    if (!profile) {
        err << "lapvane: unknown device \"" << options.device << "\"\n";
        return kExitFault;
    }
    settings.profile = *profile;
    if (!options.timeZone.empty() && !isKnownTimeZone(options.timeZone)) {
        err << "lapvane: unknown time zone \"" << options.timeZone << "\"\n";
        return kExitFault;
    }
    settings.timeZoneName = options.timeZone;
    settings.localeIdentifier = options.locale;
    settings.startUnixSeconds = realNow();
    if (!options.now.empty()) {
        auto start = parseStartTime(options.now, options.timeZone);
        if (!start) {
            err << "lapvane: --now \"" << options.now
                << "\" is not an ISO 8601 date and time (e.g. 2026-12-07T08:30:00Z)\n";
            return kExitFault;
        }
        settings.startUnixSeconds = *start;
    }
    auto system = findDeviceSystemFolder();
    if (!system) {
        err << "lapvane: the device's system folder (share/lapvane/device beside the program) is missing\n";
        return kExitFault;
    }
    settings.systemFolder = *system;
    settings.home = options.home;
    std::error_code error;
    std::filesystem::create_directories(settings.home / "Library" / "Preferences", error);
    if (error) {
        err << "lapvane: cannot make the home folder " << settings.home.string() << ": " << error.message()
            << '\n';
        return kExitFault;
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
            out << (library.loaded ? "loaded " : "skipped ") << library.path.filename().string() << " ("
                << library.reason << ")\n";
        }
    }
    Simulator simulator(*processDevice, out, err, options.echo);
    simulator.setPictureFolder(options.pictureFolder);
    return simulator.run(reader);
}

} // namespace sim
