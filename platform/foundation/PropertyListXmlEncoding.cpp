#include "platform/foundation/PropertyListXmlEncoding.h"

#include "platform/foundation/Utf8.h"

#include <cstdint>

namespace plist {
namespace {

struct Encoding {
    std::size_t unit = 0; // 2 or 4 bytes; 0 when the text is not wide
    bool bigEndian = false;
    std::size_t mark = 0; // the byte-order mark's length
};

Encoding encodingOf(std::string_view bytes) {
    const auto starts = [bytes](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
    using namespace std::string_view_literals;
    // UTF-32's little-endian mark begins with UTF-16's, so it is looked for first.
    if (starts("\xFF\xFE\0\0"sv)) {
        return {4, false, 4};
    }
    if (starts("\0\0\xFE\xFF"sv)) {
        return {4, true, 4};
    }
    if (starts("\xFF\xFE"sv)) {
        return {2, false, 2};
    }
    if (starts("\xFE\xFF"sv)) {
        return {2, true, 2};
    }
    if (starts("<\0\0\0?\0\0\0"sv)) {
        return {4, false, 0};
    }
    if (starts("\0\0\0<\0\0\0?"sv)) {
        return {4, true, 0};
    }
    if (starts("<\0?\0"sv)) {
        return {2, false, 0};
    }
    if (starts("\0<\0?"sv)) {
        return {2, true, 0};
    }
    return {};
}

char32_t unitAt(std::string_view bytes, std::size_t at, const Encoding& encoding) {
    char32_t value = 0;
    for (std::size_t i = 0; i < encoding.unit; ++i) {
        const std::size_t byte = encoding.bigEndian ? at + i : at + encoding.unit - 1 - i;
        value = (value << 8) | static_cast<std::uint8_t>(bytes[byte]);
    }
    return value;
}

bool isSurrogate(char32_t value) {
    return value >= 0xD800 && value <= 0xDFFF;
}

} // namespace

bool isWideXml(std::string_view bytes) {
    return encodingOf(bytes).unit != 0;
}

std::optional<std::string> wideXmlAsUtf8(std::string_view bytes) {
    const Encoding encoding = encodingOf(bytes);
    if (encoding.unit == 0 || (bytes.size() - encoding.mark) % encoding.unit != 0) {
        return std::nullopt;
    }
    std::string text;
    text.reserve((bytes.size() - encoding.mark) / encoding.unit);
    for (std::size_t at = encoding.mark; at < bytes.size(); at += encoding.unit) {
        char32_t codePoint = unitAt(bytes, at, encoding);
        if (encoding.unit == 2 && codePoint >= 0xD800 && codePoint <= 0xDBFF) {
            const std::size_t next = at + 2;
            const char32_t low = next < bytes.size() ? unitAt(bytes, next, encoding) : 0;
            if (low < 0xDC00 || low > 0xDFFF) {
                return std::nullopt;
            }
            codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (low - 0xDC00);
            at = next;
        } else if (isSurrogate(codePoint) || codePoint > 0x10FFFF) {
            return std::nullopt;
        }
        appendUtf8(text, codePoint);
    }
    return text;
}

std::string nulsAsReferences(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + 16);
    for (const char c : bytes) {
        if (c == '\0') {
            text.append("&#0;");
        } else {
            text.push_back(c);
        }
    }
    return text;
}

} // namespace plist
