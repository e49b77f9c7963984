#pragma once
// Capturing the stopwatch's stopped result into the saved-times file.

#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDictionary.h"

#include <memory>
#include <vector>

namespace lv {

/// The record for a stopwatch holding `finishedLaps` and a lap in progress of `currentLap`:
/// laps cut to tenths (the finished ones in order, then the current one), the current lap as the
/// last lap, the exact decimal sum of the uncut times as the total, and `date`. Nil when a time
/// is not finite (NaN or infinite) or the sum is beyond the decimal range (about 1e165): such a
/// result has no total to store, and the capture is refused rather than raising an overflow.
std::shared_ptr<NSMutableDictionary>
buildSavedTime(double currentLap, const std::vector<double>& finishedLaps, std::shared_ptr<NSDate> date);

/// Reads the current lap time and the finished laps from a stopwatch screen through its
/// instance variables, and appends the record to the first section of the saved-times file.
/// Writes nothing, and says why, when buildSavedTime refuses the result.
SavedTimesWrite captureSavedTime(const id& stopwatchScreen);

} // namespace lv
