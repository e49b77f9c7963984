#pragma once
// Keeping a file that cannot be read: before the add-on writes a new saved-times file where an
// unreadable one stands, it moves the old one aside so that nothing the user saved is lost.

#include <string>

namespace lv {

/// The name the unreadable file at `path` is moved to: `<path>.unreadable-YYYYMMDDTHHMMSSZ`, the
/// moment in UTC; a suffix "-2", "-3", ... keeps two moves within one second apart.
std::string unreadableFileName(const std::string& path, double unixSeconds);

/// Moves the file at `path` aside under that name. Returns an empty string on success, else why
/// it could not (then the caller must not write over it).
std::string moveUnreadableAside(const std::string& path, double unixSeconds);

} // namespace lv
