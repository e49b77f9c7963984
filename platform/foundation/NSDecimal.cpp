#include "platform/foundation/NSDecimal.h"

#include "platform/foundation/CLocale.h"
#include "platform/runtime/NSException.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace ns {
namespace {

// Exact intermediate values are decimal digits, least significant first. Aligning two
// operands may need 38 + 255 digits, far beyond 128 bits, and rounding then only has to look at
// the first dropped digit.
using Digits = std::vector<unsigned char>;

constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr int kExponentDigitLimit = 100000;

Digits digitsOf(NSDecimalMantissa mantissa) {
    Digits digits;
    while (mantissa != 0) {
        digits.push_back(static_cast<unsigned char>(mantissa % 10));
        mantissa /= 10;
    }
    return digits;
}

NSDecimalMantissa mantissaOf(const Digits& digits) {
    NSDecimalMantissa mantissa = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        mantissa = mantissa * 10 + *it;
    }
    return mantissa;
}

void stripLeadingZeros(Digits& digits) {
    while (!digits.empty() && digits.back() == 0) {
        digits.pop_back();
    }
}

void increment(Digits& digits) {
    for (unsigned char& digit : digits) {
        if (digit < 9) {
            ++digit;
            return;
        }
        digit = 0;
    }
    digits.push_back(1);
}

// Drops the `count` lowest digits, rounding the magnitude up when the first dropped digit is 5
// or more: halves go away from zero, the platform's plain rounding.
void dropRounding(Digits& digits, std::size_t count) {
    if (count == 0) {
        return;
    }
    if (count > digits.size()) {
        digits.clear();
        return;
    }
    const bool up = digits[count - 1] >= 5;
    digits.erase(digits.begin(), digits.begin() + static_cast<std::ptrdiff_t>(count));
    if (up) {
        increment(digits);
    }
}

// Magnitude comparison of two digit strings without leading zeros.
int compareDigits(const Digits& a, const Digits& b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    for (std::size_t i = a.size(); i-- > 0;) {
        if (a[i] != b[i]) {
            return a[i] < b[i] ? -1 : 1;
        }
    }
    return 0;
}

Digits addDigits(const Digits& a, const Digits& b) {
    Digits sum;
    unsigned carry = 0;
    for (std::size_t i = 0; i < a.size() || i < b.size() || carry != 0; ++i) {
        const unsigned total = (i < a.size() ? a[i] : 0U) + (i < b.size() ? b[i] : 0U) + carry;
        sum.push_back(static_cast<unsigned char>(total % 10));
        carry = total / 10;
    }
    return sum;
}

// a - b for a >= b.
Digits subtractDigits(const Digits& a, const Digits& b) {
    Digits difference;
    int borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        int digit = a[i] - (i < b.size() ? b[i] : 0) - borrow;
        borrow = digit < 0 ? 1 : 0;
        difference.push_back(static_cast<unsigned char>(digit + 10 * borrow));
    }
    stripLeadingZeros(difference);
    return difference;
}

// The operand's digits scaled by 10^shift.
Digits shifted(const NSDecimal& value, int shift) {
    Digits digits = digitsOf(value.mantissa);
    if (!digits.empty()) {
        digits.insert(digits.begin(), static_cast<std::size_t>(shift), 0);
    }
    return digits;
}

NSDecimal nan() {
    NSDecimal value;
    value.isNaN = true;
    return value;
}

// Turns an exact value into a compact decimal: rounded to 38 digits, rounded up to the smallest
// exponent, trailing zeros stripped; nullopt when it cannot be written with an exponent of at
// most 127.
std::optional<NSDecimal> finish(Digits digits, long exponent, bool negative) {
    stripLeadingZeros(digits);
    if (digits.size() > static_cast<std::size_t>(kDecimalMaxDigits)) {
        const std::size_t excess = digits.size() - kDecimalMaxDigits;
        dropRounding(digits, excess);
        exponent += static_cast<long>(excess);
        if (digits.size() > static_cast<std::size_t>(kDecimalMaxDigits)) {
            // The rounding carried into a 39th digit; the digit dropped is a 0.
            digits.erase(digits.begin());
            ++exponent;
        }
    }
    if (exponent < kDecimalMinExponent) {
        dropRounding(digits, static_cast<std::size_t>(kDecimalMinExponent - exponent));
        exponent = kDecimalMinExponent;
    }
    if (digits.empty()) {
        return NSDecimal{};
    }
    while (digits.front() == 0 && exponent < kDecimalMaxExponent) {
        digits.erase(digits.begin());
        ++exponent;
    }
    while (exponent > kDecimalMaxExponent && digits.size() < static_cast<std::size_t>(kDecimalMaxDigits)) {
        digits.insert(digits.begin(), 0);
        --exponent;
    }
    if (exponent > kDecimalMaxExponent) {
        return std::nullopt;
    }
    NSDecimal value;
    value.mantissa = mantissaOf(digits);
    value.exponent = static_cast<int>(exponent);
    value.negative = negative;
    return value;
}

[[noreturn]] void raiseOverflow() {
    throw NSException(NSDecimalNumberOverflowException, "NSDecimalNumber overflow exception");
}

bool isZero(const NSDecimal& value) {
    return !value.isNaN && value.mantissa == 0;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

NSDecimal decimalFromDouble(double value) {
    const std::optional<NSDecimal> result = decimalFromDoubleIfRepresentable(value);
    if (!result) {
        raiseOverflow();
    }
    return *result;
}

std::optional<NSDecimal> decimalFromDoubleIfRepresentable(double value) {
    if (std::isnan(value)) {
        return nan();
    }
    if (std::isinf(value)) {
        return std::nullopt;
    }
    if (value == 0.0) {
        return NSDecimal{};
    }
    double v = std::fabs(value);
    long exponent = 0;
    while (v < kTwoTo64) {
        v *= 10;
        --exponent;
    }
    while (v > kTwoTo64) {
        v /= 10;
        ++exponent;
    }
    // v is at most 2^64 here, which a 128-bit mantissa holds; the platform's 64-bit cut would
    // overflow on exactly 2^64.
    const auto mantissa = static_cast<NSDecimalMantissa>(v);
    return finish(digitsOf(mantissa), exponent, value < 0);
}

NSDecimal decimalFromString(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    Digits mostFirst;
    long exponent = 0;
    bool sawDigit = false;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        mostFirst.push_back(static_cast<unsigned char>(text[i] - '0'));
        sawDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            mostFirst.push_back(static_cast<unsigned char>(text[i] - '0'));
            --exponent;
            sawDigit = true;
        }
    }
    if (!sawDigit) {
        return nan();
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponentNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponentNegative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            long written = 0;
            for (; j < text.size() && isDigit(text[j]); ++j) {
                written = std::min<long>(written * 10 + (text[j] - '0'), kExponentDigitLimit);
            }
            exponent += exponentNegative ? -written : written;
        }
    }
    const Digits digits(mostFirst.rbegin(), mostFirst.rend());
    const std::optional<NSDecimal> result = finish(digits, exponent, negative);
    if (!result) {
        return nan();
    }
    NSDecimal value = *result;
    value.negative = negative && value.mantissa != 0;
    return value;
}

NSDecimal decimalAdd(const NSDecimal& left, const NSDecimal& right) {
    const std::optional<NSDecimal> result = decimalAddIfRepresentable(left, right);
    if (!result) {
        raiseOverflow();
    }
    return *result;
}

std::optional<NSDecimal> decimalAddIfRepresentable(const NSDecimal& left, const NSDecimal& right) {
    if (left.isNaN || right.isNaN) {
        return nan();
    }
    // Align on the smaller exponent: the operand with the larger one is scaled up exactly.
    const bool leftHigher = left.exponent >= right.exponent;
    const NSDecimal& high = leftHigher ? left : right;
    const NSDecimal& low = leftHigher ? right : left;
    const Digits a = shifted(high, high.exponent - low.exponent);
    const Digits b = digitsOf(low.mantissa);
    Digits exact;
    bool negative = false;
    if (high.negative == low.negative) {
        exact = addDigits(a, b);
        negative = high.negative;
    } else {
        const int order = compareDigits(a, b);
        if (order == 0) {
            return NSDecimal{};
        }
        exact = order > 0 ? subtractDigits(a, b) : subtractDigits(b, a);
        negative = order > 0 ? high.negative : low.negative;
    }
    const std::optional<NSDecimal> result = finish(exact, low.exponent, negative);
    if (!result) {
        return std::nullopt;
    }
    NSDecimal value = *result;
    value.negative = value.negative && value.mantissa != 0;
    return value;
}

NSDecimal decimalSubtract(const NSDecimal& left, const NSDecimal& right) {
    NSDecimal negated = right;
    negated.negative = !right.negative && right.mantissa != 0;
    return decimalAdd(left, negated);
}

int decimalCompare(const NSDecimal& left, const NSDecimal& right) {
    if (left.isNaN || right.isNaN) {
        return left.isNaN == right.isNaN ? 0 : (left.isNaN ? -1 : 1);
    }
    const bool leftNegative = left.negative && !isZero(left);
    const bool rightNegative = right.negative && !isZero(right);
    if (leftNegative != rightNegative) {
        return leftNegative ? -1 : 1;
    }
    const int shift = left.exponent - right.exponent;
    Digits a = shift >= 0 ? shifted(left, shift) : digitsOf(left.mantissa);
    Digits b = shift < 0 ? shifted(right, -shift) : digitsOf(right.mantissa);
    const int magnitude = compareDigits(a, b);
    return leftNegative ? -magnitude : magnitude;
}

double decimalToDouble(const NSDecimal& value) {
    if (value.isNaN) {
        return std::nan("");
    }
    // The C library's reading of decimal text is correctly rounded.
    std::string text = value.negative ? "-" : "";
    const Digits digits = digitsOf(value.mantissa);
    if (digits.empty()) {
        return 0.0;
    }
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        text.push_back(static_cast<char>('0' + *it));
    }
    text += "e" + std::to_string(value.exponent);
    return strtod_l(text.c_str(), nullptr, cLocale());
}

std::string decimalString(const NSDecimal& value) {
    if (value.isNaN) {
        return "NaN";
    }
    Digits digits = digitsOf(value.mantissa);
    if (digits.empty()) {
        return "0";
    }
    long exponent = value.exponent;
    while (exponent < 0 && digits.front() == 0) {
        digits.erase(digits.begin());
        ++exponent;
    }
    std::string plain;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        plain.push_back(static_cast<char>('0' + *it));
    }
    if (exponent >= 0) {
        plain.append(static_cast<std::size_t>(exponent), '0');
    } else {
        const long point = static_cast<long>(plain.size()) + exponent;
        if (point > 0) {
            plain.insert(static_cast<std::size_t>(point), ".");
        } else {
            plain = "0." + std::string(static_cast<std::size_t>(-point), '0') + plain;
        }
    }
    return value.negative ? "-" + plain : plain;
}

} // namespace ns
