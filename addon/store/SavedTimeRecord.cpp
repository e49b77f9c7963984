#include "addon/store/SavedTimeRecord.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"

namespace lv {

float floatValueOf(const id& value) {
    auto number = rt::cast<NSNumber>(value);
    if (!number || number->kind() == NSNumber::Kind::Boolean) {
        return 0.0F;
    }
    return number->floatValue();
}

SavedTimeView readSavedTime(const id& record) {
    SavedTimeView view;
    auto dictionary = rt::cast<NSDictionary>(record);
    if (!dictionary) {
        return view;
    }
    view.total = floatValueOf(dictionary->objectForKey(kTotalTimeKey));
    view.lastLap = floatValueOf(dictionary->objectForKey(kLastLapKey));
    if (auto laps = dictionary->objectAs<NSArray>(kAllLapsKey)) {
        for (const id& lap : laps->items()) {
            view.laps.push_back(floatValueOf(lap));
        }
    }
    view.date = dictionary->objectAs<NSDate>(kDateKey);
    return view;
}

std::shared_ptr<NSMutableDictionary> makeSavedTime(float lastLap, const std::vector<float>& allLaps,
                                                   double total, std::shared_ptr<NSDate> date) {
    auto laps = NSMutableArray::with();
    for (float lap : allLaps) {
        laps->addObject(NSNumber::withFloat(lap));
    }
    auto record = NSMutableDictionary::with();
    record->setObject(NSNumber::withFloat(lastLap), kLastLapKey);
    record->setObject(laps, kAllLapsKey);
    record->setObject(NSNumber::withDouble(total), kTotalTimeKey);
    record->setObject(std::move(date), kDateKey);
    return record;
}

} // namespace lv
