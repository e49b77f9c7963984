#pragma once
// Keeping a file that cannot be read: before the add-on writes a new saved-times file where an
// unreadable one stands, it moves the old one aside so that nothing the user saved is lost.

#include <string>

namespace lv {

/// The name the unreadable file at `path` is moved to: `<path>.unreadable-YYYYMMDDTHHMMSSZ`, the
/// moment in UTC; a suffix "-2", "-3", ... keeps two moves within one second apart.
std::string unreadableFileName(const std::string& path, double unixSeconds);

/// What moving an unreadable file aside did.
struct MovedAside {
    /// Empty on success, else why the file could not be moved (then nothing may be written over it).
    std::string failure;
    /// The permission bits of the moved file, for the file that replaces it.
    unsigned mode = 0644;
};

/// Moves the file at `path` aside under the name unreadableFileName gives.
MovedAside moveUnreadableAside(const std::string& path, double unixSeconds);

} // namespace lv
