#pragma once
// Knowing that a file still holds bytes read or compared earlier from its metadata alone, without
// reading them again, by the racy-clean rule.
//
// Every change of a file's content updates its change time (ctime) to the kernel's clock at that
// moment, and nothing a user can call sets the change time to an older value. So when a file's
// device, inode, size, modification time and change time, to the nanosecond, are those it had
// while its bytes were compared (the same before and after the comparison), and that change time
// was strictly older than the clock read before the comparison began, no write can have happened
// since: a write during or after the comparison would carry a change time at least that clock. A
// change time not yet older than that clock is racily clean: a write within the same clock tick
// could carry the very same change time, so such a file is compared again.
//
// The rule takes the kernel's coarse real-time clock, the one file times are stamped from, and the
// file system's timestamp granularity into account: a clock reading is truncated to the coarsest
// granularity the change time's own digits allow. A change time in whole seconds (a file system
// that keeps no finer times, or none), a file system not known to keep change times locally
// (network and user-space file systems stamp with another machine's or process's clock), and a
// change time the clock was not yet past are never trusted.

#include <ctime>
#include <sys/stat.h>
#include <sys/types.h>

namespace plist {

/// What fstat tells of a file that any change of its content alters.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    static FileStamp of(const struct stat& info);
    friend bool operator==(const FileStamp& a, const FileStamp& b);
};

/// The kernel's coarse real-time clock, which file times are stamped from.
[[nodiscard]] timespec coarseClock();
/// For tests: makes coarseClock answer `clock()` instead; nullptr restores the real clock.
void setCoarseClockForTesting(timespec (*clock)());

/// Whether the file system holding the open file `fd` keeps change times stamped from this
/// machine's clock (local file systems whose every write updates the change time).
[[nodiscard]] bool keepsLocalChangeTimes(int fd);

/// A file's stamp as it was while its bytes were compared or read whole, with the coarse clock read
/// before that began.
class FileIdentity {
  public:
    FileIdentity(FileStamp stamp, timespec clockBefore, bool localChangeTimes)
        : stamp_(stamp), clockBefore_(clockBefore), localChangeTimes_(localChangeTimes) {}

    /// True when the file's change time was settled at the comparison: strictly older than the
    /// clock read before it, at the granularity the change time allows, on a file system that
    /// keeps local change times. A racily clean file is not settled.
    [[nodiscard]] bool settled() const;
    /// True when a file whose fstat gives `now` certainly still holds the bytes compared: settled,
    /// and all five fields equal.
    [[nodiscard]] bool vouchesFor(const FileStamp& now) const { return settled() && now == stamp_; }

    [[nodiscard]] const FileStamp& stamp() const { return stamp_; }

    /// The coarsest granularity, in nanoseconds, a file system could have stamped `changed` at:
    /// the largest power of ten below a second dividing its nanoseconds, or a whole second when
    /// they are zero.
    [[nodiscard]] static long granularityOf(const timespec& changed);

  private:
    FileStamp stamp_;
    timespec clockBefore_;
    bool localChangeTimes_;
};

} // namespace plist
