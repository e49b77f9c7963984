#pragma once
// Single-precision times written as a reader expects them: the shortest decimal that reads back
// as the same single-precision number, so 75.3f is 75.3 rather than 75.30000305175781.

#include <cstddef>
#include <string>

namespace sim {

/// The shortest decimal that reads back as `value`, always in plain notation ("1000000000",
/// "0.0001"), as a spreadsheet or a person reads it; empty when the value is not finite.
std::string plainDecimalText(float value);

/// The longest text jsonNumberText writes.
inline constexpr std::size_t kJsonNumberTextSize = 32;
/// Writes the shortest decimal that reads back as the finite `value`, laid out as the JSON library
/// lays out a double ("30.0", "15.3", "0.0001", "1e-05", "3.4028235e+38"), at `out`, and answers
/// its end. It is the library's text of the double that the float's shortest decimal reads as,
/// wherever that text is the shortest; where the library's conversion (Grisu2) gives 17 digits
/// instead ("0.010020919999999999"), it is the shorter text of the same double ("0.01002092").
char* jsonNumberText(float value, char* out);

} // namespace sim
