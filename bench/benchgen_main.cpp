// `lapvane_benchgen --results N --sections S --out FILE [--seed K]`: writes a generated saved-times
// file, so that every program of a comparison times the very same bytes.

#include "bench/SavedTimesGenerator.h"

#include "platform/runtime/Runtime.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"Writes a saved-times file of generated results"};
    bench::SavedTimesShape shape;
    std::string out;
    app.add_option("--results", shape.results, "How many results")->check(CLI::NonNegativeNumber);
    app.add_option("--sections", shape.sections, "How many sections")->check(CLI::PositiveNumber);
    app.add_option("--seed", shape.seed, "The seed of the values")->capture_default_str();
    app.add_option("--out", out, "The file to write")->required();
    CLI11_PARSE(app, argc, argv);

    rt::Runtime runtime;
    rt::Runtime::Scope scope(runtime);
    const std::string failed = bench::writeGeneratedSavedTimes(shape, out);
    if (!failed.empty()) {
        std::cerr << "lapvane_benchgen: " << failed << "\n";
        return 1;
    }
    return 0;
}
