#pragma once
// One session with a simulated device, as `lapvane sim` and `lapvane demo` start it: the
// device is built from the options, then the commands are read and run.

#include "simulator/script/LineReader.h"

#include <ostream>
#include <string>

namespace sim {

/// The options both commands share.
struct SessionOptions {
    /// The device's home folder; made when missing.
    std::string home;
    /// A device profile name.
    std::string device;
    /// Empty means "as the environment says".
    std::string locale;
    std::string timeZone;
    /// ISO 8601; empty means the real time.
    std::string now;
    /// Start without loading the hooking libraries.
    bool noAddon = false;
    /// Print each command before running it.
    bool echo = false;
    /// Print which libraries were loaded, for people.
    bool reportLibraries = false;
    /// Where `shot` puts pictures named by a relative path; empty for the working folder.
    std::string pictureFolder;
};

class Device;

/// Builds the device from the options, reporting problems and failed libraries on `err` (and,
/// with `reportLibraries`, every library on `out`); nullptr when it cannot. The device lives
/// until the process ends.
Device* startSessionDevice(const SessionOptions& options, std::ostream& out, std::ostream& err);

/// Builds the device and runs every line of `reader`; returns the exit status. The device lives
/// until the process ends, as the hooking libraries' process-wide slots hold its objects.
int runSession(const SessionOptions& options, LineReader& reader, std::ostream& out, std::ostream& err);

} // namespace sim
