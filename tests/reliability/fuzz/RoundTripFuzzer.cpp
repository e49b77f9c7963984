// Read, write, read: whatever either reader accepts and the writer writes, the reader takes
// back, and writing that again gives the same text.

#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "tests/reliability/fuzz/FuzzerRuntime.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzing::useRuntime();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const plist::PropertyListReader reader(plist::Mutability::MutableContainers);
    const plist::ParseResult first = reader.parse(bytes);
    if (!first.ok()) {
        return 0;
    }
    const plist::EncodeResult written = plist::PropertyListXmlWriter().write(*first.value);
    if (!written.ok) {
        return 0; // values the writer refuses (a date beyond the calendar) are not written
    }
    const plist::ParseResult second = reader.parse(written.text);
    if (!second.ok()) {
        __builtin_trap(); // written, but not readable
    }
    const plist::EncodeResult again = plist::PropertyListXmlWriter().write(*second.value);
    if (!again.ok || again.text != written.text) {
        __builtin_trap(); // not stable through a round trip
    }
    return 0;
}
