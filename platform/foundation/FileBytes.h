#pragma once
// Reads a whole file into memory with the checks every property-list reader makes, and can
// instead confirm that a file still holds bytes already in memory without a second copy of them.

#include "platform/foundation/PropertyListResult.h"

#include <cstddef>
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

} // namespace plist
