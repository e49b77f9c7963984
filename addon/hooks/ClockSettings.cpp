#include "addon/hooks/ClockSettings.h"

#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NumericMessages.h"
#include "platform/foundation/PropertyListFile.h"

namespace lv {
namespace {
// The value under `key`; nil when the file or the key is missing.
id settingsValue(const std::string& key) {
    auto settings = plist::dictionaryWithContentsOfFile(clockSettingsPath());
    return settings ? settings->objectForKey(key) : nullptr;
}
} // namespace

std::string clockSettingsPath() {
    return NSHomeDirectory() + "/Library/Preferences/com.apple.mobiletimer.plist";
}

// The value is sent `doubleValue` / `intValue` and converts as the platform converts it: a
// number (a boolean as 1 or 0), a string by scanning its text ("5" is 5). A value that answers
// neither message (an array, a date) reads as a missing key rather than raising.
double clockLastTime() {
    return ns::doubleValueOf(settingsValue("LASTTIME")).value_or(0.0);
}

int clockLastSelectedView() {
    return ns::intValueOf(settingsValue("LAST_SELECTED_VIEW")).value_or(0);
}

} // namespace lv
