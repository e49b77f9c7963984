#include "platform/foundation/NSLocale.h"

#include "platform/foundation/Region.h"
#include "platform/runtime/Runtime.h"

std::shared_ptr<NSLocale> NSLocale::localeWithLocaleIdentifier(std::string identifier) {
    return rt::make<NSLocale>(std::move(identifier));
}

std::shared_ptr<NSLocale> NSLocale::currentLocale() {
    return localeWithLocaleIdentifier(ns::Region::current().localeIdentifier);
}

bool NSLocale::isEqual(const NSObject& other) const {
    const auto* locale = dynamic_cast<const NSLocale*>(&other);
    return locale != nullptr && locale->identifier_ == identifier_;
}
