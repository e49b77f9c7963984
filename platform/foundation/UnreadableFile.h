#pragma once
// Keeping a file that cannot be read: before a new file is written where a damaged one stands,
// the damaged one is moved aside, so that nothing it holds is lost.

#include "platform/foundation/AtomicFile.h"

#include <string>

namespace plist {

/// The name the unreadable file at `path` is moved to: `<path>.unreadable-YYYYMMDDTHHMMSSZ`, the
/// moment in UTC; a suffix "-2", "-3", ... keeps two moves within one second apart.
std::string unreadableFileName(const std::string& path, double unixSeconds);

/// What moving an unreadable file aside did.
struct MovedAside {
    /// Empty on success, else why the file could not be moved (then nothing may be written over it).
    std::string failure;
    /// The permission bits and owner of the moved file, for the file that replaces it.
    FileAttributes attributes;
};

/// Moves the file at `path` aside under the name unreadableFileName gives. Fails, moving
/// nothing, when the file cannot be inspected (its mode and owner would be lost).
MovedAside moveUnreadableAside(const std::string& path, double unixSeconds);

} // namespace plist
