#pragma once
// Single-precision times written as a reader expects them: the shortest decimal that reads back
// as the same single-precision number, so 75.3f is 75.3 rather than 75.30000305175781.

#include <string>

namespace sim {

/// The shortest decimal that reads back as `value`, always in plain notation ("1000000000",
/// "0.0001"), as a spreadsheet or a person reads it; empty when the value is not finite.
std::string plainDecimalText(float value);

/// The same value as a double for JSON, whose writer prints the shortest form of a double.
double shortestDouble(float value);

} // namespace sim
