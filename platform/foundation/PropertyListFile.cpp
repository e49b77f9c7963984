#include "platform/foundation/PropertyListFile.h"

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileBytes.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"

#include <new>

namespace plist {

ReadResult readDictionaryFile(const std::string& path, Mutability mutability, const Limits& limits) {
    std::string bytes;
    ReadResult read = readFileBytes(path, limits.maxBytes, bytes);
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

EncodeResult xmlTextForFile(const NSDictionary& dictionary, std::size_t expectedBytes) {
    EncodeResult encoded;
    try {
        encoded = PropertyListXmlWriter().write(dictionary, expectedBytes);
    } catch (const std::bad_alloc&) {
        return {false, {}, "not written: not enough memory for its text"};
    }
    if (!encoded.ok) {
        encoded.reason = "not written: " + encoded.reason;
    }
    return encoded;
}

WriteResult writeToFile(const NSDictionary& dictionary, const std::string& path, bool atomically,
                        const std::optional<FileAttributes>& attributes) {
    EncodeResult encoded = xmlTextForFile(dictionary);
    if (!encoded.ok) {
        return {false, std::move(encoded.reason)};
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
