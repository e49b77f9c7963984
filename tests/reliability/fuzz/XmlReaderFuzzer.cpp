// Any bytes through the XML reader: it answers a value or a reason, within its caps, and
// never crashes, hangs or reads out of bounds.

#include "platform/foundation/PropertyListXmlReader.h"
#include "tests/reliability/fuzz/FuzzerRuntime.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::useRuntime();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const plist::ParseResult parsed =
        plist::PropertyListXmlReader(plist::Mutability::MutableContainers).parse(bytes);
    if (parsed.ok() == !parsed.reason.empty()) {
        __builtin_trap(); // a value and a reason, or neither
    }
    return 0;
}
