#include "addon/hooks/ClockSettings.h"

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"

namespace lv {
namespace {
id settingsValue(const std::string& key) {
    auto settings = plist::dictionaryWithContentsOfFile(clockSettingsPath());
    return settings ? settings->objectForKey(key) : nullptr;
}
} // namespace

std::string clockSettingsPath() {
    return NSHomeDirectory() + "/Library/Preferences/com.apple.mobiletimer.plist";
}

double clockLastTime() {
    id value = settingsValue("LASTTIME");
    if (auto number = rt::cast<NSNumber>(value)) {
        return number->doubleValue();
    }
    if (auto text = rt::cast<NSString>(value)) {
        return text->doubleValue();
    }
    return 0.0;
}

int clockLastSelectedView() {
    id value = settingsValue("LAST_SELECTED_VIEW");
    if (auto number = rt::cast<NSNumber>(value)) {
        return number->intValue();
    }
    if (auto text = rt::cast<NSString>(value)) {
        return text->intValue();
    }
    return 0;
}

} // namespace lv
