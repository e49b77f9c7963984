#include "bench/SavedTimesGenerator.h"

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesDocument.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"

#include <random>
#include <vector>

namespace bench {
namespace {

// 2013-03-01 00:00:00 UTC, seconds since the reference date: the results are a few years of use.
constexpr double kFirstDate = 383788800.0;

} // namespace

std::string generatedSectionName(int index, int sections) {
    return sections == 1 ? std::string(lv::kDefaultSectionName) : "Section " + std::to_string(index + 1);
}

std::shared_ptr<NSMutableDictionary> generateSavedTimes(const SavedTimesShape& shape) {
    const int sections = shape.sections < 1 ? 1 : shape.sections;
    std::mt19937 random(shape.seed);
    std::uniform_int_distribution<int> lapCount(3, 10);
    // Laps of 15 to 120 seconds in hundredths, as a stopwatch stops them.
    std::uniform_int_distribution<int> hundredths(1500, 12000);
    // An hour apart on average: 100,000 results span about eleven years.
    std::uniform_int_distribution<int> gap(60, 7200);

    auto root = NSMutableDictionary::with();
    auto names = NSMutableArray::with();
    std::vector<std::shared_ptr<NSMutableArray>> lists;
    for (int s = 0; s < sections; ++s) {
        const std::string name = generatedSectionName(s, sections);
        names->addObject(NSString::with(name));
        lists.push_back(NSMutableArray::with());
        root->setObject(lists.back(), lv::sectionKey(name));
    }
    root->setObject(names, lv::kSectionsKey);

    double date = kFirstDate;
    for (int r = 0; r < shape.results; ++r) {
        std::vector<float> laps(static_cast<std::size_t>(lapCount(random)));
        double total = 0;
        for (float& lap : laps) {
            lap = static_cast<float>(hundredths(random)) / 100.0F;
            total += static_cast<double>(lap);
        }
        date += gap(random);
        lists[static_cast<std::size_t>(r % sections)]->addObject(
            lv::makeSavedTime(laps.back(), laps, total, NSDate::withTimeIntervalSinceReferenceDate(date)));
    }
    return root;
}

std::string writeGeneratedSavedTimes(const SavedTimesShape& shape, const std::string& path) {
    plist::WriteResult result = plist::writeToFile(*generateSavedTimes(shape), path, true);
    if (!result.ok) {
        return result.reason.empty() ? std::string("cannot write ") + path : result.reason;
    }
    return {};
}

} // namespace bench
