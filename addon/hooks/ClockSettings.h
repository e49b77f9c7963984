#pragma once
// The Clock application's own settings file, read whole at every use and never written.

#include <string>

namespace lv {

/// `<home>/Library/Preferences/com.apple.mobiletimer.plist`.
std::string clockSettingsPath();
/// "LASTTIME" as a double; 0 when the file or the key is missing or not a number.
double clockLastTime();
/// "LAST_SELECTED_VIEW" as an integer; 0 when the file or the key is missing or not a number.
int clockLastSelectedView();

} // namespace lv
