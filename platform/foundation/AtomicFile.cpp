#include "platform/foundation/AtomicFile.h"

#include "platform/foundation/FileDescriptor.h"
#include "platform/foundation/LinkTarget.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace plist {

namespace {

std::string describe(const std::string& step, const std::string& path) {
    return step + " " + path + ": " + std::strerror(errno);
}

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

std::string temporaryPrefix(const std::string& base) {
    return "." + base + ".tmp-";
}

// The process id in a temporary file's name "<prefix><pid>-<n>"; nothing for any other name.
std::optional<pid_t> writerOf(std::string_view name, std::string_view prefix) {
    if (name.substr(0, prefix.size()) != prefix) {
        return std::nullopt;
    }
    name.remove_prefix(prefix.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == name.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (i != dash && (name[i] < '0' || name[i] > '9')) {
            return std::nullopt;
        }
    }
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + dash, pid);
    if (error != std::errc() || end != name.data() + dash || pid <= 0) {
        return std::nullopt;
    }
    return pid;
}

// Opens a new, uniquely named file in `folder`; O_EXCL makes a clash with any other file (a
// concurrent writer's, or a leftover) fail instead of being shared. It is created readable by
// its owner alone, so that nobody else can open it while it is being written: a descriptor
// opened early would show them the new content later, even when the file it replaces is private.
int openTemporary(const std::string& folder, const std::string& base, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/" + temporaryPrefix(base) + std::to_string(::getpid()) + "-" +
                   std::to_string(counter++);
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

// The process's file-creation mask, read without changing it: umask() can only be read by
// setting it, which would briefly give another thread's new files the wrong mode.
mode_t currentUmask() {
    const std::unique_ptr<FILE, int (*)(FILE*)> status(std::fopen("/proc/self/status", "re"), &std::fclose);
    if (status) {
        char line[256];
        while (std::fgets(line, sizeof line, status.get()) != nullptr) {
            unsigned mask = 0;
            if (std::sscanf(line, "Umask: %o", &mask) == 1) {
                return static_cast<mode_t>(mask & 0777);
            }
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Gives the new file, once its content is complete and before it replaces anything, its mode
// and owner, so that the file at the path never has other permissions than the ones intended,
// not even for a moment.
bool applyAttributes(int fd, const std::optional<FileAttributes>& attributes) {
    if (!attributes) {
        // A new file: 0666 less the umask, as any file the process creates, unless that leaves
        // the owner unable to read it.
        return ::fchmod(fd, static_cast<mode_t>((0666 & ~currentUmask()) | S_IRUSR)) == 0;
    }
    // Only the superuser may give a file away; for anyone else the owner is the writer anyway.
    // The owner goes first, since a change of owner clears the set-id bits.
    if (::geteuid() == 0 && ::fchown(fd, attributes->owner, attributes->group) != 0) {
        return false;
    }
    return ::fchmod(fd, static_cast<mode_t>((attributes->mode & 07777) | S_IRUSR)) == 0;
}

} // namespace

std::optional<FileAttributes> FileAttributes::of(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileAttributes{info.st_mode & 07777u, info.st_uid, info.st_gid};
}

int AtomicFile::sweepStaleTemporaries(const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string prefix = temporaryPrefix(baseNameOf(path));
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), &::closedir);
    if (!directory) {
        return 0;
    }
    int removed = 0;
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(directory.get())) {
        const std::optional<pid_t> writer = writerOf(entry->d_name, prefix);
        // A process that still exists may be writing (our own process included); only a
        // writer that is gone left its file behind for good.
        if (!writer || *writer == self || ::kill(*writer, 0) == 0 || errno != ESRCH) {
            continue;
        }
        if (::unlinkat(::dirfd(directory.get()), entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    return removed;
}

WriteResult AtomicFile::write(const std::string& named, std::string_view bytes,
                              const std::optional<FileAttributes>& attributes) {
    if (named.empty() || named.back() == '/') {
        return {false, "not a file path: \"" + named + "\""};
    }
    // A link stays a link: the file at the end of its chain is the one replaced, in its own folder.
    const LinkTarget target = resolveLinkChain(named);
    if (!target.failure.empty()) {
        return {false, target.failure};
    }
    const std::string& path = target.path;
    if (path.empty() || path.back() == '/') {
        return {false, "not a file path: \"" + path + "\" (the target of " + named + ")"};
    }
    const std::string folder = folderOf(path);
    std::optional<FileAttributes> kept = attributes;
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            return {false, path + " exists and is not a regular file"};
        }
        if (!kept) {
            kept = FileAttributes{existing.st_mode & 07777u, existing.st_uid, existing.st_gid};
        }
    } else if (errno != ENOENT) {
        return {false, describe("cannot inspect", path)};
    }
    sweepStaleTemporaries(path);
    std::string tempPath;
    FileDescriptor file(openTemporary(folder, baseNameOf(path), tempPath));
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
    if (!writeAll(file.get(), bytes)) {
        return abandon("cannot write");
    }
    if (!applyAttributes(file.get(), kept)) {
        return abandon("cannot set the owner or permissions of");
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
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0 || ::fsync(directory.get()) != 0) {
        return {true, describe("written, but cannot sync the folder", folder)};
    }
    return {true, {}};
}

WriteResult AtomicFile::writeInPlace(const std::string& path, std::string_view bytes) {
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
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
