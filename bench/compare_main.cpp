// `lapvane_compare --op NAME --file FILE [--runs K] [--max-ms T] [--memory]`: one user operation
// (see UserOperations.h) set up on a copy of the file and run K times, stopping early once T
// milliseconds were spent in runs; prints one JSON line with each run's milliseconds and how the
// saved-times cache met the file in them (reads parsed, compared, trusted). With
// --memory it runs the operation once and prints its peak memory instead: the peak resident size
// during the run minus the resident size once the operation, its device and the saved-times cache
// are gone and the bytes the harness itself holds, freed heap handed back first. So what the cache keeps
// between operations to make the next one fast counts as the operation's memory, as does the browser's list
// of results.

#include "addon/store/SavedTimesCache.h"
#include "bench/MemoryUse.h"
#include "bench/UserOperations.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <malloc.h>

#include <chrono>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"Times one user operation on a copy of a saved-times file"};
    std::string op;
    std::string file;
    int runs = 3;
    double maxMs = 0;
    bool memory = false;
    app.add_option("--op", op, "The operation")->required()->check(CLI::IsMember(bench::operationNames()));
    app.add_option("--file", file, "The saved-times file (copied, never changed)")->required();
    app.add_option("--runs", runs, "How many timed runs")->check(CLI::PositiveNumber)->capture_default_str();
    app.add_option("--max-ms", maxMs, "Stop after the run that takes the total past this (0: never)");
    app.add_flag("--memory", memory, "Measure the peak memory of one run instead of timing");
    CLI11_PARSE(app, argc, argv);

    nlohmann::ordered_json line{{"op", op}};
    try {
        auto operation = bench::makeOperation(op, file);
        line["file_bytes"] = operation->fileBytes();
        if (memory) {
            operation->prepare();
            bench::startMemoryPeak();
            const bench::MemoryUse before = bench::memoryNow();
            operation->run();
            const bench::MemoryUse after = bench::memoryNow();
            const std::size_t harness = operation->harnessBytes();
            operation.reset();
            lv::SavedTimesCache::shared().drop();
            malloc_trim(0);
            const bench::MemoryUse gone = bench::memoryNow();
            line["base_bytes"] = gone.resident;
            line["before_run_bytes"] = before.resident;
            line["peak_bytes"] = after.peak;
            line["harness_bytes"] = harness;
            const std::uint64_t floor = gone.resident + harness;
            line["peak_extra_bytes"] = after.peak > floor ? after.peak - floor : 0;
        } else {
            nlohmann::json times = nlohmann::json::array();
            double spent = 0;
            const auto before = lv::SavedTimesCache::shared().counts();
            for (int i = 0; i < runs && (maxMs <= 0 || spent < maxMs); ++i) {
                operation->prepare();
                const auto start = std::chrono::steady_clock::now();
                operation->run();
                const std::chrono::duration<double, std::milli> took =
                    std::chrono::steady_clock::now() - start;
                times.push_back(took.count());
                spent += took.count();
            }
            line["ms"] = times;
            // How the saved-times cache met the file in the runs (and their preparations): reads
            // that parsed, reads that found the cached bytes by comparing them, and reads that
            // trusted the file's settled identity.
            const auto after = lv::SavedTimesCache::shared().counts();
            line["reads"] = {{"parsed", after.parsed - before.parsed},
                             {"compared", (after.reused - after.trusted) - (before.reused - before.trusted)},
                             {"trusted", after.trusted - before.trusted}};
        }
    } catch (const std::exception& e) {
        line["error"] = e.what();
        std::cout << line.dump() << std::endl;
        return 1;
    }
    std::cout << line.dump() << std::endl;
    return 0;
}
