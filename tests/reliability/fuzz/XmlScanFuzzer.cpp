// Any bytes through the XML reader with and without its direct scan: where the scan reads a
// value, it is the full parser's, class for class and bit for bit, and every other answer (an
// error and its reason included) is the full parser's.

#include "tests/reliability/fuzz/FuzzerRuntime.h"
#include "tests/support/XmlScanCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::useRuntime();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // A small nesting cap as well as the default one, so that the cap's edge is reached often.
    plist::Limits shallow;
    shallow.maxDepth = 4;
    for (const plist::Limits& limits : {plist::Limits{}, shallow}) {
        for (const plist::Mutability mutability :
             {plist::Mutability::Immutable, plist::Mutability::MutableContainers}) {
            const plist_test::ScanCheck check = plist_test::checkScan(bytes, mutability, limits);
            if (!check.difference.empty()) {
                std::fprintf(stderr, "scan and full parse differ: %s\n", check.difference.c_str());
                __builtin_trap();
            }
        }
    }
    return 0;
}
