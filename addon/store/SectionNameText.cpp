#include "addon/store/SectionNameText.h"

namespace lv {
namespace {

/// The next character of `text` from `at`, moving `at` past it; nullopt (and one byte on) for a
/// byte that does not start a well-formed UTF-8 sequence.
std::optional<char32_t> nextCharacter(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if ((lead & 0xE0U) == 0xC0U) {
        length = 2;
        value = lead & 0x1FU;
        least = 0x80;
    } else if ((lead & 0xF0U) == 0xE0U) {
        length = 3;
        value = lead & 0x0FU;
        least = 0x800;
    } else if ((lead & 0xF8U) == 0xF0U) {
        length = 4;
        value = lead & 0x07U;
        least = 0x10000;
    } else {
        ++at;
        return std::nullopt;
    }
    if (text.size() - at < length) {
        ++at;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0U) != 0x80U) {
            ++at;
            return std::nullopt;
        }
        value = (value << 6U) | (byte(at + i) & 0x3FU);
    }
    // Overlong forms, surrogates and values past the last code point are not UTF-8.
    if (value < least || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
        ++at;
        return std::nullopt;
    }
    at += length;
    return value;
}

bool xmlAllows(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

} // namespace

bool isValidUtf8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (!nextCharacter(text, at)) {
            return false;
        }
    }
    return true;
}

std::optional<char32_t> firstCharacterXmlForbids(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        if (auto c = nextCharacter(text, at); c && !xmlAllows(*c)) {
            return c;
        }
    }
    return std::nullopt;
}

bool holdsCharactersNoNameMay(std::string_view name) {
    for (std::size_t at = 0; at < name.size();) {
        auto c = nextCharacter(name, at);
        if (!c || isControl(*c) || !xmlAllows(*c)) {
            return true;
        }
    }
    return false;
}

} // namespace lv
