#include "platform/foundation/PropertyListXmlText.h"

#include "platform/foundation/Utf8.h"

namespace plist {

// Replaces the predefined entities and character references of raw character data, in one
// pass. pugixml's own unescaping is off because it would silently cut a string at "&#0;", which
// stands for a NUL character in the string, as the platform's reader reads it.
bool appendUnescaped(std::string_view raw, std::string& out) {
    std::size_t pos = 0;
    while (pos < raw.size()) {
        const std::size_t amp = raw.find('&', pos);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(pos));
            return true;
        }
        out.append(raw.substr(pos, amp - pos));
        // The longest reference is "&#x10FFFF;" or "&#1114111;"; leading zeros make longer ones
        // possible but nothing writes them, so a short window keeps this linear.
        const std::size_t semicolon = raw.find(';', amp + 1);
        if (semicolon == std::string_view::npos || semicolon - amp > 12) {
            return false;
        }
        const std::string_view name = raw.substr(amp + 1, semicolon - amp - 1);
        if (name == "amp") {
            out.push_back('&');
        } else if (name == "lt") {
            out.push_back('<');
        } else if (name == "gt") {
            out.push_back('>');
        } else if (name == "quot") {
            out.push_back('"');
        } else if (name == "apos") {
            out.push_back('\'');
        } else if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            if (digits.empty()) {
                return false;
            }
            char32_t codePoint = 0;
            for (const char c : digits) {
                int digit = -1;
                if (c >= '0' && c <= '9') {
                    digit = c - '0';
                } else if (hex && c >= 'a' && c <= 'f') {
                    digit = c - 'a' + 10;
                } else if (hex && c >= 'A' && c <= 'F') {
                    digit = c - 'A' + 10;
                }
                if (digit < 0) {
                    return false;
                }
                codePoint = codePoint * (hex ? 16 : 10) + static_cast<char32_t>(digit);
                if (codePoint > 0x10FFFF) {
                    return false;
                }
            }
            if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
                return false;
            }
            appendUtf8(out, codePoint);
        } else {
            return false; // an entity of the DTD (never expanded) or no entity at all
        }
        pos = semicolon + 1;
    }
    return true;
}

} // namespace plist
