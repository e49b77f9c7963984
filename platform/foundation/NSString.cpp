#include "platform/foundation/NSString.h"

#include "platform/foundation/NumberScanning.h"
#include "platform/runtime/Runtime.h"

std::shared_ptr<NSString> NSString::with(std::string value) {
    return rt::make<NSString>(std::move(value));
}

bool NSString::isEqual(const NSObject& other) const {
    const auto* text = dynamic_cast<const NSString*>(&other);
    return text != nullptr && text->value_ == value_;
}

float NSString::floatValue() const {
    return ns::scanFloat(value_);
}

double NSString::doubleValue() const {
    return ns::scanDouble(value_);
}

int NSString::intValue() const {
    return ns::scanInt(value_);
}
