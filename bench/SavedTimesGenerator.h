#pragma once
// Saved-times files of a chosen size for the benchmarks: N results spread over S sections, 3 to 10
// laps a result, made from a seed so that every run measures the same bytes. The records are made
// by the store's own record builder and written by the project's own writer, so a generated file
// is exactly what the add-on writes.

#include "platform/foundation/NSDictionary.h"

#include <cstdint>
#include <memory>
#include <string>

namespace bench {

/// The size and seed of a generated file.
struct SavedTimesShape {
    int results = 10000;
    int sections = 50;
    std::uint32_t seed = 1;
};

/// The name of section `index` (counted from 0) of a file with `sections` sections: "Default"
/// when it is the only one, "Section 1", "Section 2", ... otherwise.
std::string generatedSectionName(int index, int sections);

/// The root dictionary of a generated file. Result r goes to section r mod S, so every section
/// holds results when N >= S. Needs a current runtime.
std::shared_ptr<NSMutableDictionary> generateSavedTimes(const SavedTimesShape& shape);

/// Writes a generated file to `path` atomically; answers the reason when that fails, empty on
/// success.
std::string writeGeneratedSavedTimes(const SavedTimesShape& shape, const std::string& path);

} // namespace bench
