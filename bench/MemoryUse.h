#pragma once
// The process's memory as the kernel counts it (/proc/self/status), for peak-memory figures: the
// resident size now, and the peak since the last reset.

#include <cstdint>
#include <string>

namespace bench {

/// Resident and peak resident size in bytes; 0 when unknown.
struct MemoryUse {
    std::uint64_t resident = 0;
    std::uint64_t peak = 0;
};

/// The figures of a /proc/<pid>/status text (VmRSS and VmHWM, in kB there).
MemoryUse parseProcStatus(const std::string& status);

/// The figures of this process now.
MemoryUse memoryNow();

/// Hands freed heap memory back to the system and resets the peak to the resident size, so that
/// the next peak is what the following work needs. Answers false when the peak could not be reset
/// (an old kernel), in which case the peak still counts everything since the process started.
bool startMemoryPeak();

} // namespace bench
