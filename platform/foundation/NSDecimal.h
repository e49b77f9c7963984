#pragma once
// The platform's decimal value: mantissa x 10^exponent, with a mantissa of at most 38 decimal
// digits and an exponent from -128 to 127. Sums are exact while they fit in 38 digits and are
// rounded to 38 digits (halves away from zero) otherwise, so amounts added in decimal show the
// platform's last digits rather than binary floating-point noise.
//
// The arithmetic is our own, over a 128-bit mantissa and a decimal digit buffer for the exact
// intermediate results: no Debian library has these semantics. _Decimal128 (libdfp) keeps 34
// digits; libmpdec can keep 38 but bounds the adjusted exponent and has subnormal values, so
// overflow and tiny values would behave unlike the platform's, whose limits bound the mantissa's
// own exponent.

#include <optional>
#include <string>
#include <string_view>

__extension__ typedef unsigned __int128 NSDecimalMantissa;

/// A decimal value. Values made by the functions below are compact: the mantissa has no
/// trailing zeros and zero is +0 x 10^0, so equal values have equal fields.
struct NSDecimal {
    /// Below 10^38.
    NSDecimalMantissa mantissa = 0;
    /// From -128 to 127.
    int exponent = 0;
    bool negative = false;
    /// "Not a number": what text without a number reads as.
    bool isNaN = false;
};

namespace ns {

/// The largest number of digits a mantissa holds.
inline constexpr int kDecimalMaxDigits = 38;
inline constexpr int kDecimalMinExponent = -128;
inline constexpr int kDecimalMaxExponent = 127;

/// The decimal of a double as the platform makes it (NSDecimalNumber numberWithDouble:): the
/// magnitude is multiplied by 10 in double arithmetic until it reaches 2^64, divided by 10 while
/// above it, cut to an integer and stripped of trailing zeros, so 30.04 gives 30.04 and 0.07 gives
/// 0.07000000000000001024. NaN gives NaN; an infinity or a value beyond the exponent range raises
/// NSDecimalNumberOverflowException; a value below it rounds toward the nearest representable
/// value, which may be 0.
NSDecimal decimalFromDouble(double value);
/// decimalFromDouble without the exception: nothing for an infinity or a value beyond the
/// exponent range.
std::optional<NSDecimal> decimalFromDoubleIfRepresentable(double value);
/// The decimal written in `text` exactly (rounded to 38 digits if longer): leading blanks, an
/// optional sign, digits with an optional '.', an optional exponent "e[+-]digits"; the rest is
/// ignored. Text without a number, or a number outside the exponent range, gives NaN.
NSDecimal decimalFromString(std::string_view text);
/// The exact sum, rounded to 38 digits when it does not fit. NaN if either is NaN. Raises
/// NSDecimalNumberOverflowException when the exponent would exceed 127.
NSDecimal decimalAdd(const NSDecimal& left, const NSDecimal& right);
/// decimalAdd without the exception: nothing when the exponent would exceed 127.
std::optional<NSDecimal> decimalAddIfRepresentable(const NSDecimal& left, const NSDecimal& right);
/// left - right, as decimalAdd.
NSDecimal decimalSubtract(const NSDecimal& left, const NSDecimal& right);
/// -1, 0 or 1 as left is below, equal to or above right; NaN compares equal to NaN and below
/// every number.
int decimalCompare(const NSDecimal& left, const NSDecimal& right);
/// The nearest double, correctly rounded.
double decimalToDouble(const NSDecimal& value);
/// Plain digits with a '.' where needed, no exponent and no trailing zeros: "30.1", "-0.007",
/// "1200", "0"; "NaN" for not a number.
std::string decimalString(const NSDecimal& value);

} // namespace ns
