#include "platform/foundation/FileLock.h"

#include "platform/foundation/LinkTarget.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace plist {

namespace {

// `.<name>.lock` beside the file at `path`.
std::string besideAsLock(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return "." + path + ".lock";
    }
    return path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".lock";
}

// Opens the lock file, creating it when missing. flock needs only a descriptor, not the right
// to write: a lock file the user may only read (left by the superuser, or made under a umask
// that takes the write bits) is opened read-only rather than blocking every write. No link is
// followed and nothing blocks on open: a FIFO or a link planted at the lock's path is refused
// rather than waited on or written through. -1 with errno set when neither open succeeds.
int openLockFile(const std::string& lockPath) {
    constexpr int kCommon = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | kCommon, 0666);
    if (fd >= 0 || (errno != EACCES && errno != EPERM && errno != EROFS)) {
        return fd;
    }
    const int readWriteError = errno;
    const int readOnly = ::open(lockPath.c_str(), O_RDONLY | kCommon);
    if (readOnly < 0 && errno == ENOENT) {
        // There is no lock file and none may be made: the first error says why.
        errno = readWriteError;
    }
    return readOnly;
}

} // namespace

std::string FileLock::lockPathFor(const std::string& path) {
    const LinkTarget target = resolveLinkChain(path);
    return besideAsLock(target.failure.empty() ? target.path : path);
}

FileLock FileLock::acquire(const std::string& path) {
    FileLock lock;
    // The lock sits with the file it guards, at the end of any links, as the write does: every
    // name that reaches the file takes the same lock.
    const LinkTarget target = resolveLinkChain(path);
    if (!target.failure.empty()) {
        lock.failure_ = target.failure;
        return lock;
    }
    const std::string lockPath = besideAsLock(target.path);
    const int fd = openLockFile(lockPath);
    if (fd < 0) {
        lock.failure_ = "cannot open the lock file " + lockPath + ": " + std::strerror(errno);
        return lock;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        lock.failure_ = "the lock file " + lockPath + " is not a regular file";
        ::close(fd);
        return lock;
    }
    int locked = 0;
    do {
        locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        lock.failure_ = "cannot lock " + lockPath + ": " + std::strerror(errno);
        ::close(fd);
        return lock;
    }
    lock.fd_ = fd;
    return lock;
}

FileLock::~FileLock() {
    if (fd_ >= 0) {
        // Closing the only descriptor of the open file releases the lock.
        ::close(fd_);
    }
}

FileLock::FileLock(FileLock&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), failure_(std::move(other.failure_)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        failure_ = std::move(other.failure_);
    }
    return *this;
}

} // namespace plist
