#pragma once
// One saved result: the record dictionary's keys, building a record at capture and reading one
// back the way every reader does (times as single-precision numbers, wrong kinds as missing).

#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSDictionary.h"

#include <memory>
#include <optional>
#include <vector>

namespace lv {

inline constexpr const char* kLastLapKey = "Last Lap";
inline constexpr const char* kAllLapsKey = "All Laps";
inline constexpr const char* kTotalTimeKey = "Total Time";
inline constexpr const char* kDateKey = "Date";

/// A record as the readers see it.
struct SavedTimeView {
    /// "Total Time" read as single precision; 0 when missing.
    float total = 0;
    /// "Last Lap" read as single precision; 0 when missing.
    float lastLap = 0;
    /// "All Laps", each read as single precision, in stored order.
    std::vector<float> laps;
    /// "Date", when it is a date.
    std::shared_ptr<NSDate> date;
};

/// Reads a record; anything that is not a dictionary reads as an empty record.
SavedTimeView readSavedTime(const id& record);

/// A stored time read as single precision. Only a number (real or integer) is a time: a string,
/// a boolean or anything else is a value of the wrong type and reads as missing, that is 0.
float floatValueOf(const id& value);

/// Builds a record dictionary with exactly the four keys.
std::shared_ptr<NSMutableDictionary> makeSavedTime(float lastLap, const std::vector<float>& allLaps,
                                                   double total, std::shared_ptr<NSDate> date);

} // namespace lv
