#pragma once
// The Clock application's own settings file, read whole at every use and never written.

#include <string>

namespace lv {

/// `<home>/Library/Preferences/com.apple.mobiletimer.plist`.
std::string clockSettingsPath();
/// "LASTTIME" as its `doubleValue`: a number's value, a boolean's 1 or 0, a string's scanned
/// number; 0 when the file or the key is missing or the value is neither a number nor a string.
double clockLastTime();
/// "LAST_SELECTED_VIEW" as its `intValue`, converted the same way; 0 when missing.
int clockLastSelectedView();

} // namespace lv
