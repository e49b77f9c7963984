#pragma once
// Reading numbers back from text with the platform's rules (NSString's doubleValue, floatValue,
// intValue), which differ from the C++ library's: no exceptions, no locale, and a text with no
// number reads as 0.

#include <string_view>

namespace ns {

/// Leading blanks (control characters, space, U+007F to U+00A0, U+2000 to U+200B, U+3000)
/// skipped; the longest run of "0-9 + - . e E" is read as a decimal number with '.'
/// as the point; anything after it is ignored; no number gives 0; overflow gives +/-HUGE_VAL.
double scanDouble(std::string_view text);
/// scanDouble narrowed to single precision.
float scanFloat(std::string_view text);
/// Leading blanks skipped, an optional sign (blanks after it skipped too), then decimal digits up
/// to the first non-digit; none gives 0; overflow saturates at INT_MAX / INT_MIN.
int scanInt(std::string_view text);

} // namespace ns
