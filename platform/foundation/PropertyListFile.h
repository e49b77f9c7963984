#pragma once
// Property-list files as the platform's dictionaries read and write them:
// dictionaryWithContentsOfFile: on NSDictionary and NSMutableDictionary, and
// writeToFile:atomically:. The readers also tell a missing file from one that is present but
// unusable, so that a caller can keep the latter aside instead of overwriting it.

#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/PropertyListOptions.h"
#include "platform/foundation/PropertyListResult.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace plist {

/// Reads the dictionary at `path` (XML or binary form): Ok, Missing when nothing is there,
/// Unreadable when its bytes are not a dictionary, Inaccessible when they could not be read
/// (with the reason). Never throws and never blocks on a FIFO or a device.
[[nodiscard]] ReadResult readDictionaryFile(const std::string& path, Mutability mutability,
                                            const Limits& limits = {});

/// Reads a dictionary from bytes in memory (XML or binary form): Ok or Unreadable.
[[nodiscard]] ReadResult readDictionary(std::string_view bytes, Mutability mutability,
                                        const Limits& limits = {});

/// The XML text the platform writes for `dictionary`, or why it cannot be written.
[[nodiscard]] EncodeResult xmlText(const NSDictionary& dictionary);

/// The text writeToFile writes for `dictionary`, or, as its failure reason, why it writes nothing;
/// `expectedBytes` as in PropertyListXmlWriter::write.
[[nodiscard]] EncodeResult xmlTextForFile(const NSDictionary& dictionary, std::size_t expectedBytes = 0);

/// `writeToFile:atomically:`: writes `dictionary` as XML to `path`. Fails, writing nothing, when
/// the tree holds a value that is not a property-list type or its text is larger than the
/// readers accept; fails with the reason, leaving any old file whole, when the file cannot be
/// written. An atomic write gives the new file `attributes` when given (see AtomicFile::write).
[[nodiscard]] WriteResult writeToFile(const NSDictionary& dictionary, const std::string& path,
                                      bool atomically,
                                      const std::optional<FileAttributes>& attributes = std::nullopt);

/// NSMutableDictionary's `dictionaryWithContentsOfFile:`: the root and every nested container
/// mutable, leaves immutable; nil when the file is missing, unreadable or not a dictionary.
[[nodiscard]] std::shared_ptr<NSMutableDictionary>
mutableDictionaryWithContentsOfFile(const std::string& path);

/// NSDictionary's `dictionaryWithContentsOfFile:`: every container immutable; nil when the file
/// is missing, unreadable or not a dictionary.
[[nodiscard]] std::shared_ptr<NSDictionary> dictionaryWithContentsOfFile(const std::string& path);

} // namespace plist
