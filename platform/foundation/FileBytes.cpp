#include "platform/foundation/FileBytes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace plist {

namespace {

ReadResult inaccessible(std::string reason) {
    return {ReadStatus::Inaccessible, nullptr, std::move(reason)};
}

ReadResult failedStep(const std::string& step, const std::string& path) {
    return inaccessible("cannot " + step + " " + path + ": " + std::strerror(errno));
}

ReadResult tooLarge(const std::string& path, std::size_t maxBytes) {
    return inaccessible(path + " is larger than " + std::to_string(maxBytes) + " bytes");
}

// What the metadata of a file at `path` allows: nothing (ok), or why its bytes are not read.
std::optional<ReadResult> refuseByMetadata(const struct stat& info, const std::string& path,
                                           std::size_t maxBytes) {
    if (!S_ISREG(info.st_mode)) {
        return inaccessible(path + " is not a regular file");
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        return tooLarge(path, maxBytes);
    }
    return std::nullopt;
}

// One read, retried when interrupted: the count read (0 at the end), or -1 with errno set.
ssize_t readSome(int fd, char* into, std::size_t count) {
    while (true) {
        const ssize_t got = ::read(fd, into, count);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

// Reads on from `filled` bytes already in `bytes` to the end of the file, within the cap. The
// buffer starts one byte larger than the size the file had, so that a file that grew is noticed;
// it is then read on to its end, the buffer doubling.
ReadResult readRest(int fd, const std::string& path, std::size_t size, std::size_t maxBytes,
                    std::string& bytes, std::size_t filled) {
    bytes.resize(std::max(size + 1, filled));
    while (true) {
        if (filled == bytes.size()) {
            if (filled > maxBytes) {
                return tooLarge(path, maxBytes);
            }
            bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
        }
        const ssize_t got = readSome(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            return failedStep("read", path);
        }
        if (got == 0) {
            bytes.resize(filled);
            return {ReadStatus::Ok, nullptr, {}};
        }
        filled += static_cast<std::size_t>(got);
    }
}

// Reads the opened file in pieces, comparing each with `expected`. At the first difference the
// bytes that matched are copied from `expected` and the rest is read as readRest does.
ReadResult compareThenRead(int fd, const std::string& path, std::size_t maxBytes, const std::string& expected,
                           std::string& bytes, bool& unchanged) {
    constexpr std::size_t kPiece = std::size_t{1} << 18;
    // One byte past the expected end is asked for, so that a file that grew is noticed.
    const std::size_t limit = expected.size() + 1;
    const auto piece = std::make_unique_for_overwrite<char[]>(kPiece);
    std::size_t filled = 0;
    while (true) {
        const ssize_t got = readSome(fd, piece.get(), std::min(kPiece, limit - filled));
        if (got < 0) {
            return failedStep("read", path);
        }
        const auto count = static_cast<std::size_t>(got);
        if (count == 0 && filled == expected.size()) {
            unchanged = true;
            return {ReadStatus::Ok, nullptr, {}};
        }
        if (count == 0 || filled + count > expected.size() ||
            std::memcmp(piece.get(), expected.data() + filled, count) != 0) {
            bytes.reserve(std::max(expected.size(), filled + count) + 1);
            bytes.assign(expected, 0, filled);
            bytes.append(piece.get(), count);
            if (count == 0) {
                return {ReadStatus::Ok, nullptr, {}};
            }
            return readRest(fd, path, expected.size(), maxBytes, bytes, filled + count);
        }
        filled += count;
    }
}

// Checks the path, opens it without blocking and checks what was opened (the path may have been
// replaced since it was checked), then reads it whole or compares it with the known bytes, unless
// the known identity vouches for what was opened. The coarse clock is read before anything else,
// so that any write the comparison could miss carries a change time at least that clock.
ReadResult readChecked(const std::string& path, std::size_t maxBytes, const KnownFile* known,
                       std::string& bytes, KnownRead& outcome) {
    outcome = KnownRead{};
    bytes.clear();
    const timespec clockBefore = coarseClock();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {ReadStatus::Missing, nullptr, "no file at " + path};
        }
        return failedStep("inspect", path);
    }
    if (auto refused = refuseByMetadata(info, path, maxBytes)) {
        return *refused;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {ReadStatus::Missing, nullptr, "no file at " + path};
        }
        return failedStep("open", path);
    }
    ReadResult result{ReadStatus::Ok, nullptr, {}};
    if (::fstat(fd, &info) != 0) {
        result = failedStep("inspect", path);
    } else if (auto refused = refuseByMetadata(info, path, maxBytes)) {
        result = *refused;
    } else if (const bool sameSize =
                   known != nullptr && static_cast<std::uint64_t>(info.st_size) == known->bytes.size();
               sameSize && known->identity && known->identity->vouchesFor(FileStamp::of(info))) {
        outcome.unchanged = true;
        outcome.trusted = true;
        outcome.identity = known->identity;
    } else {
        const FileStamp before = FileStamp::of(info);
        result = sameSize ? compareThenRead(fd, path, maxBytes, known->bytes, bytes, outcome.unchanged)
                          : readRest(fd, path, static_cast<std::size_t>(info.st_size), maxBytes, bytes, 0);
        if (known != nullptr && result.ok() && ::fstat(fd, &info) == 0 && FileStamp::of(info) == before) {
            outcome.identity.emplace(before, clockBefore, keepsLocalChangeTimes(fd));
        }
    }
    ::close(fd);
    if (!result.ok()) {
        bytes.clear();
        outcome = KnownRead{};
    }
    return result;
}

} // namespace

ReadResult readFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    KnownRead outcome;
    return readChecked(path, maxBytes, nullptr, bytes, outcome);
}

ReadResult readFileBytesUnlessEqual(const std::string& path, std::size_t maxBytes,
                                    const std::string& expected, std::string& bytes, bool& unchanged) {
    const std::optional<FileIdentity> none;
    KnownRead outcome;
    const KnownFile known{expected, none};
    const ReadResult result = readChecked(path, maxBytes, &known, bytes, outcome);
    unchanged = outcome.unchanged;
    return result;
}

ReadResult readFileBytesKnowing(const std::string& path, std::size_t maxBytes, const KnownFile& known,
                                std::string& bytes, KnownRead& outcome) {
    return readChecked(path, maxBytes, &known, bytes, outcome);
}

} // namespace plist
