#pragma once
// NSDecimalNumber: a number holding an NSDecimal. It is a double-typed NSNumber to everything
// that reads numbers (its doubleValue is the nearest double of the decimal, and a property list
// stores it as a real), while its own arithmetic is exact decimal.

#include "platform/foundation/NSDecimal.h"
#include "platform/foundation/NSNumber.h"

#include <memory>
#include <string>
#include <string_view>

/// An immutable decimal number.
class NSDecimalNumber : public NSNumber {
  public:
    static constexpr const char* kClassName = "NSDecimalNumber";
    using Super = NSNumber;

    explicit NSDecimalNumber(const NSDecimal& value);

    /// `decimalNumberWithDecimal:`.
    static std::shared_ptr<NSDecimalNumber> decimalNumberWithDecimal(const NSDecimal& value);
    /// `decimalNumberWithString:`: the written value exactly; NaN when the text holds no number.
    static std::shared_ptr<NSDecimalNumber> decimalNumberWithString(std::string_view text);
    /// `numberWithDouble:`: the platform's conversion of a double (see ns::decimalFromDouble).
    static std::shared_ptr<NSDecimalNumber> numberWithDouble(double value);
    /// `numberWithFloat:`: the float widened to double, then as numberWithDouble.
    static std::shared_ptr<NSDecimalNumber> numberWithFloat(float value);
    /// `zero`.
    static std::shared_ptr<NSDecimalNumber> zero();
    /// `notANumber`.
    static std::shared_ptr<NSDecimalNumber> notANumber();

    /// `decimalNumberByAdding:`: exact while the sum fits in 38 digits, else rounded; raises
    /// NSDecimalNumberOverflowException on overflow. A nil operand counts as 0, as the zeroed
    /// decimal that a message to nil returns.
    [[nodiscard]] std::shared_ptr<NSDecimalNumber>
    decimalNumberByAdding(const std::shared_ptr<NSDecimalNumber>& other) const;
    /// `decimalNumberBySubtracting:`, as decimalNumberByAdding.
    [[nodiscard]] std::shared_ptr<NSDecimalNumber>
    decimalNumberBySubtracting(const std::shared_ptr<NSDecimalNumber>& other) const;
    /// `compare:` as -1, 0 or 1.
    [[nodiscard]] int compare(const NSDecimalNumber& other) const {
        return ns::decimalCompare(value_, other.value_);
    }

    [[nodiscard]] NSDecimal decimalValue() const override { return value_; }
    /// Plain digits without exponent or trailing zeros ("30.1").
    [[nodiscard]] std::string description() const override { return ns::decimalString(value_); }
    /// Decimal numbers compare by decimal value; other numbers as NSNumber does.
    [[nodiscard]] bool isEqual(const NSObject& other) const override;

  private:
    NSDecimal value_;
};
