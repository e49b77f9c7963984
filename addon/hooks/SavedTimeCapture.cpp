#include "addon/hooks/SavedTimeCapture.h"

#include "addon/hooks/HostMessages.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/TenthsTruncation.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDecimal.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Message.h"

#include <cmath>
#include <optional>
#include <string>

namespace lv {

std::shared_ptr<NSMutableDictionary>
buildSavedTime(double currentLap, const std::vector<double>& finishedLaps, std::shared_ptr<NSDate> date) {
    std::vector<float> laps;
    laps.reserve(finishedLaps.size() + 1);
    std::optional<NSDecimal> total = ns::decimalFromDouble(static_cast<double>(0.0F));
    // Adds one uncut time to the sum; nothing once a time or the sum cannot be represented.
    const auto add = [&total](double time) {
        if (!total || !std::isfinite(time)) {
            total.reset();
            return;
        }
        const std::optional<NSDecimal> decimal = ns::decimalFromDoubleIfRepresentable(time);
        total = decimal ? ns::decimalAddIfRepresentable(*total, *decimal) : std::nullopt;
    };
    for (double lap : finishedLaps) {
        laps.push_back(tenthsTruncation(lap));
        add(lap);
    }
    const float lastLap = tenthsTruncation(currentLap);
    laps.push_back(lastLap);
    add(currentLap);
    if (!total) {
        return nullptr;
    }
    return makeSavedTime(lastLap, laps, ns::decimalToDouble(*total), std::move(date));
}

SavedTimesWrite captureSavedTime(const id& stopwatchScreen) {
    const double currentLap = rt::send(host::ivar::laptimeView.get(stopwatchScreen), host::currentLapTime);
    std::vector<double> finished;
    if (auto laps = host::ivar::laps.get(stopwatchScreen)) {
        for (const id& lap : laps->items()) {
            // Each lap is asked for its doubleValue; a value that cannot answer counts as 0, as a
            // message to it would return nothing useful.
            if (auto number = rt::cast<NSNumber>(lap)) {
                finished.push_back(number->doubleValue());
            } else if (auto text = rt::cast<NSString>(lap)) {
                finished.push_back(text->doubleValue());
            } else {
                finished.push_back(0.0);
            }
        }
    }
    auto record = buildSavedTime(currentLap, finished, NSDate::date());
    if (!record) {
        SavedTimesWrite refused;
        refused.reason = "a lap or the total is not a finite time within the decimal range";
        return refused;
    }
    return SavedTimesStore::appendToFirstSection(record);
}

} // namespace lv
