#include "addon/store/SavedTimeRecord.h"

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

namespace lv {

float floatValueOf(const id& value) {
    if (auto number = rt::cast<NSNumber>(value)) {
        return number->floatValue();
    }
    if (auto text = rt::cast<NSString>(value)) {
        return text->floatValue();
    }
    return 0.0F;
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
