#pragma once
// How the Clock application's stopwatch shows a time.

#include <string>

namespace clk {

/// "MM:SS.t" below an hour, "H:MM:SS.t" from an hour on; tenths are cut, not rounded, as a
/// running display never shows a tenth that has not yet passed. Negative times show as zero.
std::string stopwatchTimeText(double seconds);

} // namespace clk
