#include "hosts/clock/ClockPreferences.h"

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/PropertyListFile.h"

#include <filesystem>
#include <system_error>

namespace clk {

std::string ClockPreferences::path() {
    return NSHomeDirectory() + "/Library/Preferences/com.apple.mobiletimer.plist";
}

std::shared_ptr<NSMutableDictionary> ClockPreferences::read() {
    auto dictionary = plist::mutableDictionaryWithContentsOfFile(path());
    return dictionary ? dictionary : NSMutableDictionary::with();
}

bool ClockPreferences::update(const NSDictionary::Entries& changes) {
    auto dictionary = read();
    for (const auto& [key, value] : changes) {
        dictionary->setObject(value, key);
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path()).parent_path(), error);
    return plist::writeToFile(*dictionary, path(), true).ok;
}

double ClockPreferences::doubleValue(const std::string& key) {
    auto number = read()->objectAs<NSNumber>(key);
    return number ? number->doubleValue() : 0.0;
}

long long ClockPreferences::integerValue(const std::string& key) {
    auto number = read()->objectAs<NSNumber>(key);
    return number ? number->integerValue() : 0;
}

} // namespace clk
