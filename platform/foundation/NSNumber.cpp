#include "platform/foundation/NSNumber.h"

#include "platform/runtime/Runtime.h"

#include <cmath>
#include <cstdio>

std::shared_ptr<NSNumber> NSNumber::withBool(bool value) {
    return rt::make<NSNumber>(Kind::Boolean, value ? 1.0 : 0.0, value ? 1 : 0);
}

std::shared_ptr<NSNumber> NSNumber::withInteger(std::int64_t value) {
    return rt::make<NSNumber>(Kind::Integer, static_cast<double>(value), value);
}

std::shared_ptr<NSNumber> NSNumber::withUnsignedInteger(std::uint64_t value) {
    if (value <= static_cast<std::uint64_t>(INT64_MAX)) {
        return withInteger(static_cast<std::int64_t>(value));
    }
    return rt::make<NSNumber>(Kind::Integer, static_cast<double>(value), static_cast<std::int64_t>(value),
                              true);
}

std::shared_ptr<NSNumber> NSNumber::withFloat(float value) {
    return rt::make<NSNumber>(Kind::Float, static_cast<double>(value), 0);
}

std::shared_ptr<NSNumber> NSNumber::withDouble(double value) {
    return rt::make<NSNumber>(Kind::Double, value, 0);
}

NSDecimal NSNumber::decimalValue() const {
    if (isReal()) {
        return ns::decimalFromDouble(real_);
    }
    NSDecimal exact;
    exact.negative = integer_ < 0 && !unsignedBeyondSigned_;
    // The magnitude of INT64_MIN does not fit in int64_t, so negate in unsigned arithmetic.
    exact.mantissa =
        exact.negative ? ~static_cast<std::uint64_t>(integer_) + 1 : static_cast<std::uint64_t>(integer_);
    // Adding zero gives the compact form (no trailing zeros).
    return ns::decimalAdd(exact, NSDecimal{});
}

double NSNumber::doubleValue() const {
    if (unsignedBeyondSigned_) {
        return static_cast<double>(static_cast<std::uint64_t>(integer_));
    }
    return isReal() ? real_ : static_cast<double>(integer_);
}

std::int64_t NSNumber::integerValue() const {
    if (!isReal()) {
        return integer_;
    }
    // Conversion of a real to an integer cuts toward zero; values outside the range saturate
    // instead of being undefined.
    if (std::isnan(real_)) {
        return 0;
    }
    if (real_ >= 9.2233720368547758e18) {
        return INT64_MAX;
    }
    if (real_ <= -9.2233720368547758e18) {
        return INT64_MIN;
    }
    return static_cast<std::int64_t>(real_);
}

bool NSNumber::isEqual(const NSObject& other) const {
    const auto* number = dynamic_cast<const NSNumber*>(&other);
    if (number == nullptr) {
        return false;
    }
    if (isReal() || number->isReal()) {
        return doubleValue() == number->doubleValue();
    }
    return integerValue() == number->integerValue() && unsignedBeyondSigned_ == number->unsignedBeyondSigned_;
}

std::string NSNumber::description() const {
    if (unsignedBeyondSigned_) {
        return std::to_string(static_cast<std::uint64_t>(integer_));
    }
    if (!isReal()) {
        return std::to_string(integer_);
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", real_);
    return text;
}
