#include "platform/foundation/NSDictionary.h"

#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"

std::shared_ptr<NSDictionary> NSDictionary::with(Entries entries) {
    return rt::make<NSDictionary>(std::move(entries));
}

id NSDictionary::objectForKey(const std::string& key) const {
    auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : found->second;
}

bool NSDictionary::isEqual(const NSObject& other) const {
    const auto* dictionary = dynamic_cast<const NSDictionary*>(&other);
    if (dictionary == nullptr || dictionary->entries_.size() != entries_.size()) {
        return false;
    }
    for (const auto& [key, value] : entries_) {
        id theirs = dictionary->objectForKey(key);
        if (!theirs || !value || !value->isEqual(*theirs)) {
            return false;
        }
    }
    return true;
}

std::shared_ptr<NSMutableDictionary> NSMutableDictionary::with(Entries entries) {
    return rt::make<NSMutableDictionary>(std::move(entries));
}

void NSMutableDictionary::setObject(id object, const std::string& key) {
    if (!object) {
        throw NSException(NSInvalidArgumentException,
                          "*** -[NSMutableDictionary setObject:forKey:]: object cannot be nil (key: " + key +
                              ")");
    }
    entries_[key] = std::move(object);
}
