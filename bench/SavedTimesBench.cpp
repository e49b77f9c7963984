// How long the add-on's file operations take as the saved-times file grows: every capture and
// every edit reads the whole file and writes it back, so their cost grows with the file.

#include "addon/store/ClockText.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/runtime/Runtime.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A device home holding a saved-times file of `records` results in 50 sections, 5 to 30 laps
// each, removed at the end.
class SeededHome {
  public:
    explicit SeededHome(int records) {
        std::string pattern = (std::filesystem::temp_directory_path() / "lapvane-bench-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        path_ = mkdtemp(buffer.data());
        std::filesystem::create_directories(path_ + "/Library/Preferences");
        auto root = NSMutableDictionary::with();
        auto names = NSMutableArray::with();
        for (int s = 0; s < 50; ++s) {
            const std::string name = "Section " + std::to_string(s);
            names->addObject(NSString::with(name));
            auto list = NSMutableArray::with();
            for (int r = s; r < records; r += 50) {
                std::vector<float> laps(static_cast<std::size_t>(5 + r % 26), 30.1F);
                list->addObject(lv::makeSavedTime(30.1F, laps, 30.1 * static_cast<double>(laps.size()),
                                                  NSDate::withTimeIntervalSinceReferenceDate(4.0e8 + r)));
            }
            root->setObject(list, lv::sectionKey(name));
        }
        root->setObject(names, lv::kSectionsKey);
        (void)plist::writeToFile(*root, path_ + "/Library/Preferences/" + lv::kSavedTimesFileName, true);
    }
    ~SeededHome() { std::filesystem::remove_all(path_); }
    SeededHome(const SeededHome&) = delete;
    SeededHome& operator=(const SeededHome&) = delete;
    [[nodiscard]] const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void BM_CaptureIntoFile(benchmark::State& state) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope(runtime);
    SeededHome home(static_cast<int>(state.range(0)));
    ns::HomeDirectory::Scope homeScope(home.path());
    auto record = lv::makeSavedTime(15.3F, {30.0F, 30.0F, 15.3F}, 75.43,
                                    NSDate::withTimeIntervalSinceReferenceDate(4.0e8));
    for (auto _ : state) {
        auto outcome = lv::SavedTimesStore::appendToFirstSection(record);
        benchmark::DoNotOptimize(outcome.written);
    }
}
BENCHMARK(BM_CaptureIntoFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadSectionNames(benchmark::State& state) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope(runtime);
    SeededHome home(static_cast<int>(state.range(0)));
    ns::HomeDirectory::Scope homeScope(home.path());
    for (auto _ : state) {
        benchmark::DoNotOptimize(lv::SavedTimesStore::sectionNames());
    }
}
BENCHMARK(BM_ReadSectionNames)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ClockText(benchmark::State& state) {
    float t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lv::clockText(t));
        t += 0.1F;
    }
}
BENCHMARK(BM_ClockText);

} // namespace
