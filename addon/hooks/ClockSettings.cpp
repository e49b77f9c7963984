#include "addon/hooks/ClockSettings.h"

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/PropertyListFile.h"

namespace lv {
namespace {
// The number under `key`; a missing file or key, or a value that is not a number (a string, a
// boolean), reads as missing.
std::shared_ptr<NSNumber> settingsNumber(const std::string& key) {
    auto settings = plist::dictionaryWithContentsOfFile(clockSettingsPath());
    auto number = settings ? settings->objectAs<NSNumber>(key) : nullptr;
    return number && number->kind() != NSNumber::Kind::Boolean ? number : nullptr;
}
} // namespace

std::string clockSettingsPath() {
    return NSHomeDirectory() + "/Library/Preferences/com.apple.mobiletimer.plist";
}

double clockLastTime() {
    auto number = settingsNumber("LASTTIME");
    return number ? number->doubleValue() : 0.0;
}

int clockLastSelectedView() {
    auto number = settingsNumber("LAST_SELECTED_VIEW");
    return number ? number->intValue() : 0;
}

} // namespace lv
