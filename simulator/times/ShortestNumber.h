#pragma once
// Single-precision times written as a reader expects them: the shortest decimal that reads back
// as the same single-precision number, so 75.3f is 75.3 rather than 75.30000305175781.

#include <string>

namespace sim {

/// The shortest decimal text of `value` ("75.3", "42.5", "0").
std::string shortestText(float value);

/// The same value as a double for JSON, whose writer prints the shortest form of a double.
double shortestDouble(float value);

} // namespace sim
