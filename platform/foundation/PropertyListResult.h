#pragma once
// The results of the property-list codec. Failures are values that carry a reason, never
// exceptions: a bad file is an expected event for the callers.

#include "platform/foundation/NSDictionary.h"

#include <memory>
#include <string>

namespace plist {

/// A value parsed from bytes (any property-list type at the root), or why there is none.
struct ParseResult {
    /// The root value; nil on failure.
    id value;
    /// Why parsing failed; empty on success.
    std::string reason;
    /// True when the bytes are exactly the text PropertyListXmlWriter writes for `value`; looked
    /// for only with XmlParsing::ScanFirstNotingWriterText, false otherwise.
    bool writerText = false;

    [[nodiscard]] bool ok() const { return value != nullptr; }
};

/// What reading a dictionary from a file found.
enum class ReadStatus {
    /// The file was read and its root is a dictionary.
    Ok,
    /// There is no file at the path (or a folder on the way is missing).
    Missing,
    /// The bytes were read whole but are not a property list, or its root is not a dictionary:
    /// the file is damaged. A caller that would replace it should keep it aside first.
    Unreadable,
    /// Something is at the path but its bytes could not be read: an error opening, inspecting
    /// or reading it (EIO, EACCES, EMFILE, ENOMEM, ...), not a regular file (a folder, a FIFO,
    /// a device), larger than the readers accept, or too large for the memory left. Nothing is
    /// known about its content, so a caller must neither replace it nor move it: an operation
    /// that would write does nothing.
    Inaccessible,
};

/// A dictionary read from bytes or from a file, or why there is none.
struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    /// The root dictionary; nil unless status is Ok. Its containers are the mutable kinds when
    /// read with Mutability::MutableContainers.
    std::shared_ptr<NSDictionary> dictionary;
    /// Why there is no dictionary; empty when status is Ok.
    std::string reason;
    /// As ParseResult::writerText.
    bool writerText = false;

    [[nodiscard]] bool ok() const { return status == ReadStatus::Ok; }
    /// The root as a mutable dictionary; nil unless it was read with mutable containers.
    [[nodiscard]] std::shared_ptr<NSMutableDictionary> mutableDictionary() const {
        return std::dynamic_pointer_cast<NSMutableDictionary>(dictionary);
    }
};

/// The text of a property list, or why it cannot be written.
struct EncodeResult {
    bool ok = false;
    /// The whole document; empty on failure.
    std::string text;
    /// Why the value cannot be written; empty on success.
    std::string reason;
};

/// Whether a file was written, and why not.
struct WriteResult {
    /// True when the new content is in place at the path.
    bool ok = false;
    /// Why the write failed; on success, an optional warning (the folder could not be synced).
    std::string reason;
};

} // namespace plist
