#pragma once
// A number value. It remembers whether it was made from a boolean, an integer, a single- or a
// double-precision value, because the property-list writer and the readers depend on it: a
// single-precision number is written widened to double (75.3f as 75.300003051757812).

#include "platform/foundation/NSDecimal.h"
#include "platform/runtime/NSObject.h"

#include <cstdint>
#include <memory>

/// An immutable number.
class NSNumber : public NSObject {
  public:
    static constexpr const char* kClassName = "NSNumber";
    using Super = NSObject;

    enum class Kind : std::uint8_t { Boolean, Integer, Float, Double };

    /// A number of `kind`: the real kinds keep `real`, the others `integer`.
    NSNumber(Kind kind, double real, std::int64_t integer, bool unsignedBeyondSigned = false)
        : kind_(kind), unsignedBeyondSigned_(unsignedBeyondSigned) {
        if (isReal()) {
            real_ = real;
        } else {
            integer_ = integer;
        }
    }

    static std::shared_ptr<NSNumber> withBool(bool value);
    static std::shared_ptr<NSNumber> withInteger(std::int64_t value);
    /// An integer of the unsigned 64-bit range, as the platform reads one above the signed range.
    static std::shared_ptr<NSNumber> withUnsignedInteger(std::uint64_t value);
    static std::shared_ptr<NSNumber> withFloat(float value);
    static std::shared_ptr<NSNumber> withDouble(double value);

    [[nodiscard]] Kind kind() const { return kind_; }
    /// True for the real kinds (single or double precision).
    [[nodiscard]] bool isReal() const { return kind_ == Kind::Float || kind_ == Kind::Double; }
    [[nodiscard]] double doubleValue() const;
    [[nodiscard]] float floatValue() const { return static_cast<float>(doubleValue()); }
    [[nodiscard]] std::int64_t integerValue() const;
    /// True for an integer above the signed 64-bit range (made by withUnsignedInteger).
    [[nodiscard]] bool isUnsignedBeyondSigned() const { return unsignedBeyondSigned_; }
    /// The integer as an unsigned 64-bit value: exact for such an integer, the two's complement
    /// bits of integerValue otherwise.
    [[nodiscard]] std::uint64_t unsignedIntegerValue() const {
        return static_cast<std::uint64_t>(integerValue());
    }
    [[nodiscard]] int intValue() const { return static_cast<int>(integerValue()); }
    [[nodiscard]] bool boolValue() const { return integerValue() != 0; }
    /// `decimalValue`: integers exactly; reals by the platform's conversion of their double
    /// (ns::decimalFromDouble), a single-precision value widened first.
    [[nodiscard]] virtual NSDecimal decimalValue() const;
    [[nodiscard]] rt::ValueKind valueKind() const override { return rt::ValueKind::Number; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    [[nodiscard]] std::string description() const override;

  private:
    Kind kind_;
    // integer_ holds the bits of an unsigned value above INT64_MAX.
    bool unsignedBeyondSigned_;
    // One of the two is ever read, as isReal() says: a number is made once and never changes
    // kind, so they share their place.
    union {
        double real_;
        std::int64_t integer_;
    };
};
