#include "platform/foundation/NSDate.h"

#include "platform/foundation/WallClock.h"
#include "platform/runtime/Runtime.h"

std::shared_ptr<NSDate> NSDate::withTimeIntervalSinceReferenceDate(double seconds) {
    return rt::make<NSDate>(seconds);
}

std::shared_ptr<NSDate> NSDate::withTimeIntervalSince1970(double seconds) {
    return rt::make<NSDate>(seconds - kReferenceDateUnixSeconds);
}

std::shared_ptr<NSDate> NSDate::date() {
    return withTimeIntervalSince1970(ns::WallClock::current().unixSeconds());
}

bool NSDate::isEqual(const NSObject& other) const {
    const auto* date = dynamic_cast<const NSDate*>(&other);
    return date != nullptr && date->seconds_ == seconds_;
}
