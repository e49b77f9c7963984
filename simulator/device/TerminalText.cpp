#include "simulator/device/TerminalText.h"

#include <cstdio>

namespace sim {
namespace {

// The length of the well-formed UTF-8 sequence starting at `at`, 0 when there is none.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
    unsigned value = length == 1 ? lead : lead & (0xFFU >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        value = (value << 6) | (byte(at + i) & 0x3FU);
    }
    static constexpr unsigned kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    return length;
}

void appendByte(std::string& out, unsigned char byte) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
    out += escaped;
}

} // namespace

std::string terminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = sequenceLength(text, at);
        if (length == 0) {
            appendByte(out, lead);
            ++at;
        } else if (length == 1) {
            if (lead == '\t') {
                out += "\\t";
            } else if (lead == '\n') {
                out += "\\n";
            } else if (lead == '\r') {
                out += "\\r";
            } else if (lead == '\\') {
                out += "\\\\";
            } else if (lead < 0x20 || lead == 0x7F) {
                appendByte(out, lead);
            } else {
                out += static_cast<char>(lead);
            }
            ++at;
        } else if (length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0) {
            // U+0080 to U+009F: the C1 controls, which some terminals obey as escapes.
            appendByte(out, lead);
            appendByte(out, static_cast<unsigned char>(text[at + 1]));
            at += 2;
        } else {
            out.append(text.substr(at, length));
            at += length;
        }
    }
    return out;
}

} // namespace sim
