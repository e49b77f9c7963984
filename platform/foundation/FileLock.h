#pragma once
// The writers' lock of a file that is replaced whole: an exclusive advisory lock (flock) on a
// lock file beside it. Every writer holds it from its read of the file to the rename of the new
// content, so two processes never both read the same old content and one of their changes
// vanishes. Readers take no lock: the rename already shows them either the old or the new file.

#include <string>

namespace plist {

/// Holds the writers' lock of one file while it lives.
class FileLock {
  public:
    /// `<folder>/.<name>.lock` for the file at `path`. When `path` is a symbolic link, the lock
    /// is beside the file at the end of its chain of links, the file the write replaces, so that
    /// every name that reaches that file takes the same lock (a link repointed while a writer
    /// holds the lock is not guarded against).
    static std::string lockPathFor(const std::string& path);

    /// Takes the lock of the file at `path`, waiting while another process holds it. The lock
    /// file is made when missing and never removed (removing it would let two writers lock two
    /// different files). A lock file that may be read but not written is opened read-only, as
    /// the lock needs only a descriptor. On failure (no folder, no permission even to read,
    /// something other than a file at the lock's path) the lock is not held and `failure` says
    /// why.
    static FileLock acquire(const std::string& path);

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    /// True while the lock is held.
    [[nodiscard]] bool held() const { return fd_ >= 0; }
    /// Why the lock could not be taken; empty when it is held.
    [[nodiscard]] const std::string& failure() const { return failure_; }

  private:
    int fd_ = -1;
    std::string failure_;
};

} // namespace plist
