#include "platform/foundation/PropertyListReader.h"

#include "platform/foundation/PropertyListBinaryReader.h"
#include "platform/foundation/PropertyListXmlReader.h"

namespace plist {

PropertyListReader::PropertyListReader(Mutability mutability, Limits limits)
    : mutability_(mutability), limits_(limits) {}

ParseResult PropertyListReader::parse(std::string_view bytes) const {
    if (bytes.empty()) {
        return {nullptr, "empty"};
    }
    if (PropertyListBinaryReader::looksBinary(bytes)) {
        return PropertyListBinaryReader(mutability_, limits_).parse(bytes);
    }
    return PropertyListXmlReader(mutability_, limits_).parse(bytes);
}

ReadResult PropertyListReader::readDictionary(std::string_view bytes) const {
    ParseResult parsed = parse(bytes);
    if (!parsed.ok()) {
        return {ReadStatus::Unreadable, nullptr, std::move(parsed.reason)};
    }
    auto dictionary = std::dynamic_pointer_cast<NSDictionary>(parsed.value);
    if (!dictionary) {
        return {ReadStatus::Unreadable, nullptr, "the root is not a dictionary"};
    }
    return {ReadStatus::Ok, std::move(dictionary), {}};
}

} // namespace plist
