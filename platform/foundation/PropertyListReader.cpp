#include "platform/foundation/PropertyListReader.h"

#include "platform/foundation/PropertyListBinaryReader.h"
#include "platform/foundation/PropertyListXmlReader.h"

#include <new>

namespace plist {

PropertyListReader::PropertyListReader(Mutability mutability, Limits limits, XmlParsing parsing)
    : mutability_(mutability), limits_(limits), parsing_(parsing) {}

ParseResult PropertyListReader::parse(std::string_view bytes) const {
    if (bytes.empty()) {
        return {nullptr, "empty"};
    }
    if (PropertyListBinaryReader::looksBinary(bytes)) {
        return PropertyListBinaryReader(mutability_, limits_).parse(bytes);
    }
    return PropertyListXmlReader(mutability_, limits_, parsing_).parse(bytes);
}

ParseResult PropertyListReader::parseInPlace(std::string& bytes) const {
    if (bytes.empty() || PropertyListBinaryReader::looksBinary(bytes)) {
        return parse(bytes);
    }
    return PropertyListXmlReader(mutability_, limits_, parsing_).parseInPlace(bytes);
}

ReadResult PropertyListReader::readDictionary(std::string_view bytes) const {
    try {
        return dictionaryResult(parse(bytes));
    } catch (const std::bad_alloc&) {
        // Running out of memory says nothing about the bytes: the file is not damaged.
        return {ReadStatus::Inaccessible, nullptr, "not enough memory to read it"};
    }
}

ReadResult PropertyListReader::readDictionaryInPlace(std::string& bytes) const {
    try {
        return dictionaryResult(parseInPlace(bytes));
    } catch (const std::bad_alloc&) {
        return {ReadStatus::Inaccessible, nullptr, "not enough memory to read it"};
    }
}

ReadResult PropertyListReader::dictionaryResult(ParseResult parsed) {
    if (!parsed.ok()) {
        return {ReadStatus::Unreadable, nullptr, std::move(parsed.reason)};
    }
    auto dictionary = std::dynamic_pointer_cast<NSDictionary>(parsed.value);
    if (!dictionary) {
        return {ReadStatus::Unreadable, nullptr, "the root is not a dictionary"};
    }
    return {ReadStatus::Ok, std::move(dictionary), {}, parsed.writerText};
}

} // namespace plist
