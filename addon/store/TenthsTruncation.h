#pragma once
// Cutting a stopwatch time to tenths before it is stored as a lap.

namespace lv {

/// Prints `seconds` with "%f" (six decimals, the last rounded), keeps the whole part and the
/// first fraction digit, and reads "<whole>.<digit>" back at single precision. So the time is cut
/// toward zero to tenths after the six-decimal rounding: 75.36 gives 75.3, 9.96 gives 9.9, 0.04
/// gives 0, and 12.9999996 gives 13.0 because it prints as 13.000000. A value that prints
/// without a point (infinite or undefined, which stored times never are) reads as 0.
float tenthsTruncation(double seconds);

} // namespace lv
