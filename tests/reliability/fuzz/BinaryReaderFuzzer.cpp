// Any bytes through the binary reader (the magic put in front when missing, so that the
// fuzzer's mutations reach the trailer, the offsets and the objects).

#include "platform/foundation/PropertyListBinaryReader.h"
#include "tests/reliability/fuzz/FuzzerRuntime.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::useRuntime();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.rfind("bplist00", 0) != 0) {
        bytes.insert(0, "bplist00");
    }
    const plist::ParseResult parsed =
        plist::PropertyListBinaryReader(plist::Mutability::Immutable).parse(bytes);
    if (parsed.ok() == !parsed.reason.empty()) {
        __builtin_trap();
    }
    return 0;
}
