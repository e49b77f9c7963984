#include "platform/foundation/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plist {

namespace {

std::string describe(const std::string& step, const std::string& path) {
    return step + " " + path + ": " + std::strerror(errno);
}

// Closes a descriptor once, on every path out of a function.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    [[nodiscard]] int get() const { return fd_; }
    // Closes now, so that a failing close (a deferred write error) can be reported.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens a new, uniquely named file in `folder`; O_EXCL makes a clash with any other file (a
// concurrent writer's, or a leftover) fail instead of being shared.
int openTemporary(const std::string& folder, const std::string& base, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            folder + "/." + base + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

} // namespace

WriteResult AtomicFile::write(const std::string& path, std::string_view bytes) {
    if (path.empty() || path.back() == '/') {
        return {false, "not a file path: \"" + path + "\""};
    }
    const std::string folder = folderOf(path);
    struct stat existing {};
    const bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) {
        return {false, path + " exists and is not a regular file"};
    }
    std::string tempPath;
    Descriptor file(openTemporary(folder, baseNameOf(path), tempPath));
    if (file.get() < 0) {
        return {false, describe("cannot create a temporary file in", folder)};
    }
    // From here on every failure removes the temporary file, so nothing is left behind.
    const auto abandon = [&](const std::string& step) {
        WriteResult result{false, describe(step, tempPath)};
        if (file.get() >= 0) {
            file.close();
        }
        ::unlink(tempPath.c_str());
        return result;
    };
    if (replacing && ::fchmod(file.get(), existing.st_mode & 07777) != 0) {
        return abandon("cannot set the permissions of");
    }
    if (!writeAll(file.get(), bytes)) {
        return abandon("cannot write");
    }
    if (::fsync(file.get()) != 0) {
        return abandon("cannot sync");
    }
    if (!file.close()) {
        return abandon("cannot close");
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0) {
        return abandon("cannot move into place");
    }
    // The new content is in place; syncing the folder makes the rename itself durable. Its
    // failure cannot undo the replacement, so it is reported as a warning on success.
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0 || ::fsync(directory.get()) != 0) {
        return {true, describe("written, but cannot sync the folder", folder)};
    }
    return {true, {}};
}

WriteResult AtomicFile::writeInPlace(const std::string& path, std::string_view bytes) {
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (file.get() < 0) {
        return {false, describe("cannot open", path)};
    }
    if (!writeAll(file.get(), bytes)) {
        return {false, describe("cannot write", path)};
    }
    if (!file.close()) {
        return {false, describe("cannot close", path)};
    }
    return {true, {}};
}

} // namespace plist
