// Parse and write times of the property-list codec on saved-times files of realistic shape: 50
// sections, records of 5 to 30 laps (single-precision values), a double total and a date.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kSections = 50;

std::shared_ptr<NSMutableDictionary> savedTimes(int records) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> lapCount(5, 30);
    std::uniform_int_distribution<int> tenths(150, 1200);
    auto root = NSMutableDictionary::with({});
    auto names = NSMutableArray::with();
    std::vector<std::shared_ptr<NSMutableArray>> lists;
    for (int s = 0; s < kSections; ++s) {
        const std::string name = "Section " + std::to_string(s + 1);
        names->addObject(NSString::with(name));
        lists.push_back(NSMutableArray::with());
        root->setObject(lists.back(), "Times - " + name);
    }
    root->setObject(names, "Sections");
    for (int r = 0; r < records; ++r) {
        auto laps = NSMutableArray::with();
        double total = 0;
        float lap = 0;
        for (int l = lapCount(random); l > 0; --l) {
            lap = static_cast<float>(tenths(random)) / 10.0f;
            total += static_cast<double>(lap);
            laps->addObject(NSNumber::withFloat(lap));
        }
        lists[static_cast<std::size_t>(r % kSections)]->addObject(NSMutableDictionary::with(
            {{"Last Lap", NSNumber::withFloat(lap)},
             {"All Laps", laps},
             {"Total Time", NSNumber::withDouble(total)},
             {"Date", NSDate::withTimeIntervalSinceReferenceDate(383918400.0 + 3671.0 * r)}}));
    }
    return root;
}

std::string xmlOf(int records) {
    return plist::PropertyListXmlWriter().write(*savedTimes(records)).text;
}

void parseXml(benchmark::State& state) {
    const std::string text = xmlOf(static_cast<int>(state.range(0)));
    const plist::PropertyListReader reader(plist::Mutability::MutableContainers);
    for (auto _ : state) {
        plist::ReadResult result = reader.readDictionary(text);
        if (!result.ok()) {
            state.SkipWithError(result.reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(result.dictionary);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}

void writeXml(benchmark::State& state) {
    const auto root = savedTimes(static_cast<int>(state.range(0)));
    const plist::PropertyListXmlWriter writer;
    std::size_t size = 0;
    for (auto _ : state) {
        plist::EncodeResult result = writer.write(*root);
        size = result.text.size();
        benchmark::DoNotOptimize(result.text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
}

// One change of the file as the add-on makes it: read with mutable containers, then write back
// atomically (with its syncs).
void readAndSaveAtomically(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lapvane-plist-bench";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "times.plist").string();
    if (!plist::writeToFile(*savedTimes(static_cast<int>(state.range(0))), path, true).ok) {
        state.SkipWithError("cannot write the file");
        return;
    }
    for (auto _ : state) {
        const auto root = plist::mutableDictionaryWithContentsOfFile(path);
        if (!root || !plist::writeToFile(*root, path, true).ok) {
            state.SkipWithError("cannot read or write the file");
            break;
        }
    }
    std::filesystem::remove_all(folder);
}

BENCHMARK(parseXml)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(writeXml)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(readAndSaveAtomically)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
