// The benchmark suite (Google Benchmark): every user operation at 1,000, 10,000 and 100,000
// results in 1 and 50 sections, on generated files, plus the clock text. Each benchmark also
// reports the operation's peak memory, measured once in a fresh process (`lapvane_compare
// --memory`) as the peak resident size minus the resident size before the operation, in MB and as
// a multiple of the file's size. `--no-memory` leaves that out.

#include "bench/BenchHome.h"
#include "bench/SavedTimesGenerator.h"
#include "bench/UserOperations.h"

#include "addon/store/ClockText.h"
#include "platform/runtime/Runtime.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

bool measureMemory = true;
std::string compareProgram;

// The generated files of this run, made on first use in one temporary folder.
class GeneratedFiles {
  public:
    const std::string& file(int results, int sections) {
        auto key = std::make_pair(results, sections);
        auto found = files_.find(key);
        if (found != files_.end()) {
            return found->second;
        }
        const std::string path =
            folder_.path() + "/saved-" + std::to_string(results) + "-" + std::to_string(sections) + ".plist";
        rt::Runtime runtime;
        rt::Runtime::Scope scope(runtime);
        const std::string failed = bench::writeGeneratedSavedTimes({results, sections, 1}, path);
        if (!failed.empty()) {
            throw std::runtime_error(failed);
        }
        return files_.emplace(key, path).first->second;
    }

  private:
    bench::BenchHome folder_;
    std::map<std::pair<int, int>, std::string> files_;
};

GeneratedFiles& generatedFiles() {
    static GeneratedFiles files;
    return files;
}

// Runs the operation once in a fresh process and answers its extra peak memory in bytes, or
// nothing when that could not be measured.
std::optional<double> peakInFreshProcess(const std::string& op, const std::string& file) {
    const std::string command = "'" + compareProgram + "' --op " + op + " --file '" + file + "' --memory";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return std::nullopt;
    }
    std::string output;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()) != nullptr) {
        output += buffer.data();
    }
    auto line = nlohmann::json::parse(output, nullptr, false);
    if (line.is_discarded() || !line.contains("peak_extra_bytes")) {
        return std::nullopt;
    }
    return line["peak_extra_bytes"].get<double>();
}

void measure(benchmark::State& state, const std::string& op, int results, int sections) {
    std::unique_ptr<bench::MeasuredOperation> operation;
    std::string file;
    try {
        file = generatedFiles().file(results, sections);
        operation = bench::makeOperation(op, file);
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
        return;
    }
    double runSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        operation->prepare();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        try {
            operation->run();
        } catch (const std::exception& e) {
            state.SkipWithError(e.what());
            break;
        }
        runSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const auto size = static_cast<double>(operation->fileBytes());
    state.counters["file_MB"] = size / 1e6;
    if (state.iterations() > 0 && results > 0) {
        state.counters["us_per_result"] =
            runSeconds * 1e6 / static_cast<double>(state.iterations()) / static_cast<double>(results);
    }
    if (measureMemory) {
        operation.reset();
        if (auto peak = peakInFreshProcess(op, file)) {
            state.counters["peak_MB"] = *peak / 1e6;
            state.counters["peak_x_file"] = *peak / size;
        }
    }
}

void clockText(benchmark::State& state) {
    float t = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lv::clockText(t));
        t += 0.1F;
    }
}

void registerAll() {
    for (const std::string& op : bench::operationNames()) {
        for (int results : {1000, 10000, 100000}) {
            for (int sections : {1, 50}) {
                auto* b = benchmark::RegisterBenchmark(
                    (op + "/results:" + std::to_string(results) + "/sections:" + std::to_string(sections))
                        .c_str(),
                    [op, results, sections](benchmark::State& state) {
                        measure(state, op, results, sections);
                    });
                b->Unit(benchmark::kMillisecond)->UseRealTime();
                if (results >= 100000) {
                    b->Iterations(3);
                }
            }
        }
    }
    benchmark::RegisterBenchmark("clockText", clockText);
}

} // namespace

int main(int argc, char** argv) {
    compareProgram =
        (std::filesystem::canonical("/proc/self/exe").parent_path() / "lapvane_compare").string();
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-memory") == 0) {
            measureMemory = false;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    if (measureMemory && !std::filesystem::exists(compareProgram)) {
        std::fprintf(stderr, "lapvane_bench: %s is missing; peak memory is left out\n",
                     compareProgram.c_str());
        measureMemory = false;
    }
    registerAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
