#include "platform/foundation/FileIdentity.h"

#include <array>
#include <atomic>
#include <linux/magic.h>
#include <sys/vfs.h>

namespace plist {

namespace {

constexpr long kSecond = 1'000'000'000;

std::atomic<timespec (*)()>& clockForTesting() {
    static std::atomic<timespec (*)()> clock{nullptr};
    return clock;
}

bool equal(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

} // namespace

FileStamp FileStamp::of(const struct stat& info) {
    return {info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool operator==(const FileStamp& a, const FileStamp& b) {
    return a.device == b.device && a.inode == b.inode && a.size == b.size && equal(a.modified, b.modified) &&
           equal(a.changed, b.changed);
}

timespec coarseClock() {
    if (auto* clock = clockForTesting().load()) {
        return clock();
    }
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

void setCoarseClockForTesting(timespec (*clock)()) {
    clockForTesting().store(clock);
}

bool keepsLocalChangeTimes(int fd) {
    // Local file systems that stamp every write with the kernel's clock. Anything else (network,
    // user-space and unknown file systems, and overlays whose files may move between layers) is
    // compared at every read.
    constexpr std::array<unsigned long, 5> kLocal = {EXT4_SUPER_MAGIC, XFS_SUPER_MAGIC, BTRFS_SUPER_MAGIC,
                                                     TMPFS_MAGIC, F2FS_SUPER_MAGIC};
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0) {
        return false;
    }
    const auto type = static_cast<unsigned long>(info.f_type);
    for (const unsigned long local : kLocal) {
        if (type == local) {
            return true;
        }
    }
    return false;
}

long FileIdentity::granularityOf(const timespec& changed) {
    if (changed.tv_nsec == 0) {
        return kSecond;
    }
    long granularity = 1;
    while (granularity < kSecond / 10 && changed.tv_nsec % (granularity * 10) == 0) {
        granularity *= 10;
    }
    return granularity;
}

bool FileIdentity::settled() const {
    const long granularity = granularityOf(stamp_.changed);
    if (!localChangeTimes_ || granularity >= kSecond) {
        return false;
    }
    // A write after the clock was read is stamped with at least the clock, truncated to the
    // file system's granularity: only a change time strictly older than that truncated clock
    // cannot be met again by such a write.
    timespec clock = clockBefore_;
    clock.tv_nsec -= clock.tv_nsec % granularity;
    return before(stamp_.changed, clock);
}

} // namespace plist
