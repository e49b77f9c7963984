#include "platform/foundation/NSDecimalNumber.h"

#include "platform/runtime/Runtime.h"

NSDecimalNumber::NSDecimalNumber(const NSDecimal& value)
    : NSNumber(Kind::Double, ns::decimalToDouble(value), 0), value_(value) {}

std::shared_ptr<NSDecimalNumber> NSDecimalNumber::decimalNumberWithDecimal(const NSDecimal& value) {
    return rt::make<NSDecimalNumber>(value);
}

std::shared_ptr<NSDecimalNumber> NSDecimalNumber::decimalNumberWithString(std::string_view text) {
    return decimalNumberWithDecimal(ns::decimalFromString(text));
}

std::shared_ptr<NSDecimalNumber> NSDecimalNumber::numberWithDouble(double value) {
    return decimalNumberWithDecimal(ns::decimalFromDouble(value));
}

std::shared_ptr<NSDecimalNumber> NSDecimalNumber::numberWithFloat(float value) {
    return numberWithDouble(static_cast<double>(value));
}

std::shared_ptr<NSDecimalNumber> NSDecimalNumber::zero() {
    return decimalNumberWithDecimal(NSDecimal{});
}

std::shared_ptr<NSDecimalNumber> NSDecimalNumber::notANumber() {
    NSDecimal nan;
    nan.isNaN = true;
    return decimalNumberWithDecimal(nan);
}

std::shared_ptr<NSDecimalNumber>
NSDecimalNumber::decimalNumberByAdding(const std::shared_ptr<NSDecimalNumber>& other) const {
    return decimalNumberWithDecimal(ns::decimalAdd(value_, other ? other->value_ : NSDecimal{}));
}

std::shared_ptr<NSDecimalNumber>
NSDecimalNumber::decimalNumberBySubtracting(const std::shared_ptr<NSDecimalNumber>& other) const {
    return decimalNumberWithDecimal(ns::decimalSubtract(value_, other ? other->value_ : NSDecimal{}));
}

bool NSDecimalNumber::isEqual(const NSObject& other) const {
    if (const auto* decimal = dynamic_cast<const NSDecimalNumber*>(&other)) {
        return !value_.isNaN && !decimal->value_.isNaN && compare(*decimal) == 0;
    }
    return NSNumber::isEqual(other);
}
