#pragma once
// The catalogue of hostile saved-times files: what stands at the path (bytes, a link, a folder,
// a FIFO, a device) and what the add-on and `lapvane times` do with it.

#include <functional>
#include <string>
#include <vector>

namespace reliability {

/// What a hostile file makes of the reader and the writers.
enum class Outcome {
    /// Read: listed; a capture adds its record and keeps every other value.
    Read,
    /// Read, but the capture would have to replace a value of the wrong type: it writes nothing.
    ReadCaptureRefused,
    /// Its bytes are not a dictionary: listing fails; a capture moves it aside and starts anew.
    Damaged,
    /// Its bytes cannot be read: listing fails; a capture writes nothing and moves nothing.
    Inaccessible,
    /// Nothing at the path that can be read (a dangling link): like no file.
    Missing,
};

struct HostileFile {
    std::string name;
    /// Puts the case at `path` (the saved-times path).
    std::function<void(const std::string& path)> make;
    Outcome outcome;
    /// What the readers and the capture may take, in seconds and bytes of address space.
    double seconds = 2;
    unsigned long long memory = 512ULL << 20;
};

/// Every case.
std::vector<HostileFile> hostileFiles();

} // namespace reliability
