#include "platform/foundation/PropertyListFile.h"

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
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

// What the metadata of a file at `path` allows: nothing (ok), or why its bytes are not read.
std::optional<ReadResult> refuseByMetadata(const struct stat& info, const std::string& path,
                                           std::size_t maxBytes) {
    if (!S_ISREG(info.st_mode)) {
        return inaccessible(path + " is not a regular file");
    }
    if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        return inaccessible(path + " is larger than " + std::to_string(maxBytes) + " bytes");
    }
    return std::nullopt;
}

// Reads the whole file, up to the size cap. Missing only when the path names nothing;
// Inaccessible for anything that keeps the bytes from being read whole. The path is checked
// before it is opened (links followed) and the open never blocks, so a FIFO or a device at the
// path is refused instead of waiting for a writer.
ReadResult readBytes(const std::string& path, std::size_t maxBytes, std::string& bytes) {
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
    // The path may have been replaced since it was checked; what counts is what was opened.
    if (::fstat(fd, &info) != 0) {
        result = failedStep("inspect", path);
    } else if (auto refused = refuseByMetadata(info, path, maxBytes)) {
        result = *refused;
    } else {
        // One byte more than the size, so that a file that grew is noticed; it is then read on
        // to its end within the cap, the buffer doubling.
        bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
        std::size_t filled = 0;
        while (true) {
            if (filled == bytes.size()) {
                if (filled > maxBytes) {
                    result = inaccessible(path + " is larger than " + std::to_string(maxBytes) + " bytes");
                    break;
                }
                bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
            }
            const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                result = failedStep("read", path);
                break;
            }
            if (got == 0) {
                bytes.resize(filled);
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    return result;
}

} // namespace

ReadResult readDictionaryFile(const std::string& path, Mutability mutability, const Limits& limits) {
    std::string bytes;
    ReadResult read = readBytes(path, limits.maxBytes, bytes);
    if (!read.ok()) {
        return read;
    }
    // The bytes are read afresh for each call and wanted for nothing else, so the parse may cut
    // its tree out of them.
    ReadResult parsed = PropertyListReader(mutability, limits).readDictionaryInPlace(bytes);
    if (!parsed.ok()) {
        parsed.reason = path + ": " + parsed.reason;
    }
    return parsed;
}

ReadResult readDictionary(std::string_view bytes, Mutability mutability, const Limits& limits) {
    return PropertyListReader(mutability, limits).readDictionary(bytes);
}

EncodeResult xmlText(const NSDictionary& dictionary) {
    return PropertyListXmlWriter().write(dictionary);
}

WriteResult writeToFile(const NSDictionary& dictionary, const std::string& path, bool atomically,
                        const std::optional<FileAttributes>& attributes) {
    EncodeResult encoded;
    try {
        encoded = xmlText(dictionary);
    } catch (const std::bad_alloc&) {
        return {false, "not written: not enough memory for its text"};
    }
    if (!encoded.ok) {
        return {false, "not written: " + encoded.reason};
    }
    return atomically ? AtomicFile::write(path, encoded.text, attributes)
                      : AtomicFile::writeInPlace(path, encoded.text);
}

std::shared_ptr<NSMutableDictionary> mutableDictionaryWithContentsOfFile(const std::string& path) {
    return readDictionaryFile(path, Mutability::MutableContainers).mutableDictionary();
}

std::shared_ptr<NSDictionary> dictionaryWithContentsOfFile(const std::string& path) {
    return readDictionaryFile(path, Mutability::Immutable).dictionary;
}

} // namespace plist
