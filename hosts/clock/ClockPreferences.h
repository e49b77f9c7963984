#pragma once
// The Clock application's settings file, `<home>/Library/Preferences/com.apple.mobiletimer.plist`.
// Every change takes the file's writers' lock, reads the whole file, changes one or more keys and
// writes it back atomically, so keys written by anyone else survive. A damaged file is moved
// aside (`.unreadable-<time>`) before a new one is written; a file whose bytes cannot be read is
// left alone and the change is not written.

#include "platform/foundation/NSDictionary.h"

#include <memory>
#include <string>

namespace clk {

/// Key of the stopwatch's stopped total (0 after a reset).
inline constexpr const char* kLastTimeKey = "LASTTIME";
/// Key of the 1-based position of the tab last shown.
inline constexpr const char* kLastSelectedViewKey = "LAST_SELECTED_VIEW";
/// Key of the finished laps of the stopped stopwatch, kept so a relaunch shows the same result.
inline constexpr const char* kLapTimesKey = "LAP_TIMES";

/// The Clock application's settings file.
class ClockPreferences {
  public:
    /// The file's path under the device's home folder.
    static std::string path();
    /// The whole file as a mutable dictionary; an empty one when missing or unreadable.
    static std::shared_ptr<NSMutableDictionary> read();
    /// Reads the file, stores every entry of `changes` into it and writes it back atomically.
    /// Returns false when nothing was written (the old file then stays whole).
    static bool update(const NSDictionary::Entries& changes);
    /// The value under `key` as a double: a number's value (a boolean's 1 or 0), a string's
    /// scanned number; 0 when missing or neither.
    static double doubleValue(const std::string& key);
    /// The value under `key` as an integer, converted the same way; 0 when missing or neither.
    static long long integerValue(const std::string& key);
};

} // namespace clk
