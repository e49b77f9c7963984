#pragma once
// The text forms in which stored times are shown: the clock text (hours, minutes, seconds and
// tenths), the total text of a record and the text of one lap.

#include <string>

namespace lv {

/// The clock text of a time in seconds: "45.2", "01:05.3", "1:01:05.3", "1:5.3". Worked out
/// through printed text and single-precision arithmetic; see ClockText.cpp for the steps.
std::string clockText(float seconds);
/// "Time: " followed by the clock text of a record's total.
std::string totalText(float seconds);
/// The clock text of one stored lap, with nothing before it.
std::string lapText(float seconds);

} // namespace lv
