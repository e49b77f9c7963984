#pragma once
// Reads a whole file into memory with the checks every property-list reader makes, and can
// instead confirm that a file still holds bytes already in memory without a second copy of them,
// or, when the file's identity is settled (FileIdentity), without reading them at all.

#include "platform/foundation/FileIdentity.h"
#include "platform/foundation/PropertyListResult.h"

#include <cstddef>
#include <optional>
#include <string>

namespace plist {

/// Reads the whole file at `path` into `bytes`, up to `maxBytes`. The status is Ok, Missing only
/// when the path names nothing, or Inaccessible (with the reason) for anything that keeps the
/// bytes from being read whole: an error, something other than a regular file, or more than
/// `maxBytes`. The open never blocks, so a FIFO or a device at the path is refused.
[[nodiscard]] ReadResult readFileBytes(const std::string& path, std::size_t maxBytes, std::string& bytes);

/// As readFileBytes, but compares the file with `expected` while reading it: when the file holds
/// exactly `expected`, the status is Ok, `unchanged` is true and `bytes` is left empty; otherwise
/// `bytes` holds what readFileBytes would have read. Statuses and reasons are readFileBytes'.
[[nodiscard]] ReadResult readFileBytesUnlessEqual(const std::string& path, std::size_t maxBytes,
                                                  const std::string& expected, std::string& bytes,
                                                  bool& unchanged);

/// What the caller holds of a file: bytes read from it before and, when known, the file's identity
/// as it was while those bytes were last compared with it or read from it.
struct KnownFile {
    const std::string& bytes;
    const std::optional<FileIdentity>& identity;
};

/// What readFileBytesKnowing learnt besides the bytes.
struct KnownRead {
    /// The file holds exactly the known bytes (and `bytes` was left empty).
    bool unchanged = false;
    /// Known unchanged from the file's settled identity alone, without reading it.
    bool trusted = false;
    /// The identity of what the file holds now (the known bytes when unchanged, else the bytes
    /// read), when fstat gave the same stamp before and after the bytes were compared or read.
    std::optional<FileIdentity> identity;
};

/// As readFileBytesUnlessEqual with `known.bytes`, but the file is opened and fstat'd and then not
/// read at all when `known.identity` vouches for that fstat. Statuses and reasons are
/// readFileBytes'.
[[nodiscard]] ReadResult readFileBytesKnowing(const std::string& path, std::size_t maxBytes,
                                              const KnownFile& known, std::string& bytes, KnownRead& outcome);

} // namespace plist
