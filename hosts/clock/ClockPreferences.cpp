#include "hosts/clock/ClockPreferences.h"

#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NumericMessages.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/UnreadableFile.h"
#include "platform/foundation/WallClock.h"

#include <filesystem>
#include <optional>
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
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path()).parent_path(), error);
    // The same recipe as every writer of a shared property list: the writers' lock from the
    // read to the rename, a damaged file kept aside, nothing written over a file whose bytes
    // could not be read.
    const plist::FileLock lock = plist::FileLock::acquire(path());
    if (!lock.held()) {
        return false;
    }
    plist::ReadResult current = plist::readDictionaryFile(path(), plist::Mutability::MutableContainers);
    std::optional<plist::FileAttributes> keptAttributes;
    if (current.status == plist::ReadStatus::Inaccessible) {
        return false;
    }
    if (current.status == plist::ReadStatus::Unreadable) {
        plist::MovedAside moved = plist::moveUnreadableAside(path(), ns::WallClock::current().unixSeconds());
        if (!moved.failure.empty()) {
            return false;
        }
        keptAttributes = moved.attributes;
    }
    auto dictionary = current.ok() ? current.mutableDictionary() : NSMutableDictionary::with();
    for (const auto& [key, value] : changes) {
        dictionary->setObject(value, key);
    }
    return plist::writeToFile(*dictionary, path(), true, keptAttributes).ok;
}

double ClockPreferences::doubleValue(const std::string& key) {
    return ns::doubleValueOf(read()->objectForKey(key)).value_or(0.0);
}

long long ClockPreferences::integerValue(const std::string& key) {
    const id value = read()->objectForKey(key);
    // A number keeps its whole 64-bit range; a string scans as the platform's intValue.
    if (auto number = rt::cast<NSNumber>(value)) {
        return number->integerValue();
    }
    return ns::intValueOf(value).value_or(0);
}

} // namespace clk
