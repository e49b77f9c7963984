#include "platform/foundation/Utf8.h"

#include <cstdint>
#include <cstring>

namespace plist {

namespace {

// Decodes the code point starting at `i` of a string known to be valid UTF-8.
char32_t decodeAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return lead;
    }
    if (lead < 0xE0) {
        return (char32_t{lead & 0x1Fu} << 6) | (byte(1) & 0x3Fu);
    }
    if (lead < 0xF0) {
        return (char32_t{lead & 0x0Fu} << 12) | (char32_t{byte(1) & 0x3Fu} << 6) | (byte(2) & 0x3Fu);
    }
    return (char32_t{lead & 0x07u} << 18) | (char32_t{byte(1) & 0x3Fu} << 12) |
           (char32_t{byte(2) & 0x3Fu} << 6) | (byte(3) & 0x3Fu);
}

// A rank that orders code points as their UTF-16 forms order: the supplementary planes (encoded
// with surrogates D800-DFFF) come before U+E000-U+FFFF.
std::uint32_t utf16Rank(char32_t codePoint) {
    if (codePoint < 0xD800) {
        return codePoint;
    }
    if (codePoint >= 0x10000) {
        return 0xD800 + (codePoint - 0x10000);
    }
    return codePoint + 0x100000;
}

} // namespace

bool isValidUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end) {
        // Eight bytes at a time while they are ASCII and none is NUL: almost all of a file.
        while (end - p >= 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            constexpr std::uint64_t kLow = 0x0101010101010101u;
            constexpr std::uint64_t kHigh = 0x8080808080808080u;
            if (((word | (word - kLow)) & kHigh) != 0) {
                break; // a byte at or above 0x80, or a NUL (whose subtraction borrows into bit 7)
            }
            p += 8;
        }
        if (p == end) {
            break;
        }
        const unsigned char lead = *p;
        if (lead >= 0x01 && lead < 0x80) {
            ++p;
            continue;
        }
        std::size_t length = 0;
        char32_t codePoint = 0;
        char32_t minimum = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1Fu;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0Fu;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07u;
            minimum = 0x10000;
        } else {
            return false; // NUL, a continuation byte, an overlong two-byte lead or 0xF5 and above
        }
        if (static_cast<std::size_t>(end - p) < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((p[k] & 0xC0u) != 0x80u) {
                return false;
            }
            codePoint = (codePoint << 6) | (p[k] & 0x3Fu);
        }
        if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return false;
        }
        p += length;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

bool appendUtf16BigEndianAsUtf8(const std::uint8_t* bytes, std::size_t units, std::string& out) {
    out.reserve(out.size() + units);
    for (std::size_t i = 0; i < units; ++i) {
        char32_t unit = (char32_t{bytes[2 * i]} << 8) | bytes[2 * i + 1];
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == units) {
                return false;
            }
            const char32_t low = (char32_t{bytes[2 * i + 2]} << 8) | bytes[2 * i + 3];
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        }
        appendUtf8(out, unit);
    }
    return true;
}

bool lessInUtf16Order(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    std::size_t i = 0;
    while (i < common && a[i] == b[i]) {
        ++i;
    }
    if (i == common) {
        return a.size() < b.size();
    }
    // Both strings share the bytes before i, so the character that differs starts at the same
    // place in both: step back over continuation bytes to its lead byte.
    while (i > 0 && (static_cast<unsigned char>(a[i]) & 0xC0u) == 0x80u) {
        --i;
    }
    return utf16Rank(decodeAt(a, i)) < utf16Rank(decodeAt(b, i));
}

bool mayOrderDifferentlyInUtf16(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0xEE) {
            return true;
        }
    }
    return false;
}

} // namespace plist
