// The codec on files shaped as the saved times are in use: 50 sections, records of 3 to 10
// single-precision laps with a double total and a date, in file order. Writes start from a
// parsed tree, as every save does, and the memory a parsed tree takes is reported per byte of
// the file.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <malloc.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::string savedTimesText(int records) {
    constexpr int kSections = 50;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> lapCount(3, 10);
    std::uniform_int_distribution<int> tenths(150, 1200);
    auto root = NSMutableDictionary::with();
    auto names = NSMutableArray::with();
    for (int s = 0; s < kSections; ++s) {
        const std::string name = "Section " + std::to_string(s);
        names->addObject(NSString::with(name));
        auto list = NSMutableArray::with();
        for (int r = s; r < records; r += kSections) {
            auto laps = NSMutableArray::with();
            double total = 0;
            float lap = 0;
            for (int l = lapCount(random); l > 0; --l) {
                lap = static_cast<float>(tenths(random)) / 10.0F;
                total += static_cast<double>(lap);
                laps->addObject(NSNumber::withFloat(lap));
            }
            list->addObject(NSMutableDictionary::with(
                {{"Last Lap", NSNumber::withFloat(lap)},
                 {"All Laps", laps},
                 {"Total Time", NSNumber::withDouble(total)},
                 {"Date", NSDate::withTimeIntervalSinceReferenceDate(4.0e8 + 3671.0 * r)}}));
        }
        root->setObject(list, "Times - " + name);
    }
    root->setObject(names, "Sections");
    return plist::PropertyListXmlWriter().write(*root).text;
}

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_CodecParse(benchmark::State& state) {
    const std::string text = savedTimesText(static_cast<int>(state.range(0)));
    const plist::PropertyListReader reader(plist::Mutability::MutableContainers);
    std::size_t held = 0;
    for (auto _ : state) {
        const std::size_t before = heapInUse();
        plist::ReadResult result = reader.readDictionary(text);
        held = heapInUse() - before;
        if (!result.ok()) {
            state.SkipWithError(result.reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(result.dictionary);
    }
    state.counters["tree_bytes_per_file_byte"] = static_cast<double>(held) / static_cast<double>(text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_CodecParse)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// As a file is read: the bytes are the reader's own, parsed where they stand. The time to build
// the tree and the time to release it are reported apart (in milliseconds).
void BM_CodecParseInPlace(benchmark::State& state) {
    const std::string text = savedTimesText(static_cast<int>(state.range(0)));
    const plist::PropertyListReader reader(plist::Mutability::MutableContainers);
    std::chrono::duration<double, std::milli> building{0};
    std::chrono::duration<double, std::milli> releasing{0};
    for (auto _ : state) {
        std::string bytes = text;
        const auto start = std::chrono::steady_clock::now();
        auto result = std::make_unique<plist::ReadResult>(reader.readDictionaryInPlace(bytes));
        const auto built = std::chrono::steady_clock::now();
        if (!result->ok()) {
            state.SkipWithError(result->reason.c_str());
            break;
        }
        result.reset();
        building += built - start;
        releasing += std::chrono::steady_clock::now() - built;
    }
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["build_ms"] = building.count() / iterations;
    state.counters["release_ms"] = releasing.count() / iterations;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_CodecParseInPlace)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_CodecWriteParsed(benchmark::State& state) {
    const std::string text = savedTimesText(static_cast<int>(state.range(0)));
    const plist::ReadResult parsed =
        plist::PropertyListReader(plist::Mutability::MutableContainers).readDictionary(text);
    if (!parsed.ok()) {
        state.SkipWithError(parsed.reason.c_str());
        return;
    }
    for (auto _ : state) {
        plist::EncodeResult result = plist::xmlText(*parsed.dictionary);
        if (result.text.size() != text.size()) {
            state.SkipWithError("the text written differs from the text read");
            break;
        }
        benchmark::DoNotOptimize(result.text.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_CodecWriteParsed)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
