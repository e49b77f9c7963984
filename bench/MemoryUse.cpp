#include "bench/MemoryUse.h"

#include <malloc.h>

#include <fstream>
#include <sstream>

namespace bench {
namespace {

std::uint64_t kilobytesAfter(const std::string& status, const std::string& label) {
    std::istringstream lines(status);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(label, 0) == 0) {
            std::istringstream value(line.substr(label.size()));
            std::uint64_t kilobytes = 0;
            value >> kilobytes;
            return value ? kilobytes * 1024 : 0;
        }
    }
    return 0;
}

} // namespace

MemoryUse parseProcStatus(const std::string& status) {
    return MemoryUse{kilobytesAfter(status, "VmRSS:"), kilobytesAfter(status, "VmHWM:")};
}

MemoryUse memoryNow() {
    std::ifstream in("/proc/self/status");
    std::ostringstream text;
    text << in.rdbuf();
    return parseProcStatus(text.str());
}

bool startMemoryPeak() {
    malloc_trim(0);
    // "5" resets the peak resident size of the process (Linux 4.0 and later).
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

} // namespace bench
