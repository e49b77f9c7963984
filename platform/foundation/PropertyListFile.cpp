#include "platform/foundation/PropertyListFile.h"

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plist {

namespace {

// Reads the whole file, up to the size cap. Status Missing only when the path names nothing.
ReadResult readBytes(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return {ReadStatus::Missing, nullptr, "no file at " + path};
        }
        return {ReadStatus::Unreadable, nullptr, "cannot open " + path + ": " + std::strerror(errno)};
    }
    struct stat info {};
    ReadResult result{ReadStatus::Ok, nullptr, {}};
    if (::fstat(fd, &info) != 0) {
        result = {ReadStatus::Unreadable, nullptr, "cannot inspect " + path + ": " + std::strerror(errno)};
    } else if (!S_ISREG(info.st_mode)) {
        result = {ReadStatus::Unreadable, nullptr, path + " is not a regular file"};
    } else if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
        result = {ReadStatus::Unreadable, nullptr,
                  path + " is larger than " + std::to_string(maxBytes) + " bytes"};
    } else {
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t filled = 0;
        // The file may change size while it is read; read to its end, within the cap.
        while (true) {
            if (filled == bytes.size()) {
                if (bytes.size() > maxBytes) {
                    result = {ReadStatus::Unreadable, nullptr,
                              path + " is larger than " + std::to_string(maxBytes) + " bytes"};
                    break;
                }
                bytes.resize(bytes.size() + 4096);
            }
            const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                result = {ReadStatus::Unreadable, nullptr,
                          "cannot read " + path + ": " + std::strerror(errno)};
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
    ReadResult parsed = PropertyListReader(mutability, limits).readDictionary(bytes);
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

WriteResult writeToFile(const NSDictionary& dictionary, const std::string& path, bool atomically) {
    EncodeResult encoded = xmlText(dictionary);
    if (!encoded.ok) {
        return {false, "not a property list: " + encoded.reason};
    }
    return atomically ? AtomicFile::write(path, encoded.text) : AtomicFile::writeInPlace(path, encoded.text);
}

std::shared_ptr<NSMutableDictionary> mutableDictionaryWithContentsOfFile(const std::string& path) {
    return readDictionaryFile(path, Mutability::MutableContainers).mutableDictionary();
}

std::shared_ptr<NSDictionary> dictionaryWithContentsOfFile(const std::string& path) {
    return readDictionaryFile(path, Mutability::Immutable).dictionary;
}

} // namespace plist
