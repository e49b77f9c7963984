#include "platform/foundation/NSTimeZone.h"

#include "platform/foundation/Region.h"
#include "platform/runtime/Runtime.h"

#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <memory>

std::shared_ptr<NSTimeZone> NSTimeZone::timeZoneWithName(const std::string& name) {
    // ICU answers an unknown name with its "Etc/Unknown" zone rather than an error.
    const std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(name)));
    icu::UnicodeString id;
    if (!zone || zone->getID(id) == icu::UnicodeString(u"Etc/Unknown")) {
        return nullptr;
    }
    return rt::make<NSTimeZone>(name);
}

std::shared_ptr<NSTimeZone> NSTimeZone::defaultTimeZone() {
    if (auto zone = timeZoneWithName(ns::Region::current().timeZoneName)) {
        return zone;
    }
    return rt::make<NSTimeZone>("GMT");
}

bool NSTimeZone::isEqual(const NSObject& other) const {
    const auto* zone = dynamic_cast<const NSTimeZone*>(&other);
    return zone != nullptr && zone->name_ == name_;
}
