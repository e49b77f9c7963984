#include "simulator/times/ShortestNumber.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace sim {

std::string plainDecimalText(float value) {
    if (!std::isfinite(value)) {
        return {};
    }
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return error == std::errc{} ? std::string(text, end) : std::string();
}

char* jsonNumberText(float value, char* out) {
    if (std::signbit(value)) {
        *out++ = '-';
        value = -value;
    }
    if (value == 0.0F) {
        std::memcpy(out, "0.0", 3);
        return out + 3;
    }
    // The shortest text of the single-precision value, plain or with an exponent, whichever is
    // shorter; a large whole number comes out whole ("33871888", not "3.387189e+07"), as the
    // double read back from it then prints.
    char shortest[kJsonNumberTextSize];
    const char* end = std::to_chars(shortest, shortest + sizeof shortest, value).ptr;
    // Its significant digits, and where the decimal point falls among them: value = 0.digits
    // x 10^point.
    char digits[kJsonNumberTextSize];
    int count = 0;
    int beforePoint = -1;
    const char* at = shortest;
    for (; at != end && *at != 'e'; ++at) {
        if (*at == '.') {
            beforePoint = count;
        } else {
            digits[count++] = *at;
        }
    }
    int exponent = 0;
    if (at != end) {
        std::from_chars(at + 1 + (at[1] == '+' ? 1 : 0), end, exponent);
    }
    int point = (beforePoint < 0 ? count : beforePoint) + exponent;
    int first = 0;
    while (first < count - 1 && digits[first] == '0') {
        ++first;
        --point;
    }
    while (count - first > 1 && digits[count - 1] == '0') {
        --count;
    }
    const int length = count - first;
    const char* significant = digits + first;
    // The library's layout (its format_buffer, with a double's 15 digits as the widest plain
    // number and 1e-05 as the first small one with an exponent).
    if (length <= point && point <= 15) {
        std::memcpy(out, significant, static_cast<std::size_t>(length));
        std::memset(out + length, '0', static_cast<std::size_t>(point - length));
        std::memcpy(out + point, ".0", 2);
        return out + point + 2;
    }
    if (0 < point && point <= 15) {
        std::memcpy(out, significant, static_cast<std::size_t>(point));
        out[point] = '.';
        std::memcpy(out + point + 1, significant + point, static_cast<std::size_t>(length - point));
        return out + length + 1;
    }
    if (-4 < point && point <= 0) {
        std::memcpy(out, "0.", 2);
        std::memset(out + 2, '0', static_cast<std::size_t>(-point));
        std::memcpy(out + 2 - point, significant, static_cast<std::size_t>(length));
        return out + 2 - point + length;
    }
    *out++ = significant[0];
    if (length > 1) {
        *out++ = '.';
        std::memcpy(out, significant + 1, static_cast<std::size_t>(length - 1));
        out += length - 1;
    }
    int shown = point - 1;
    *out++ = 'e';
    *out++ = shown < 0 ? '-' : '+';
    shown = shown < 0 ? -shown : shown;
    if (shown < 10) {
        *out++ = '0';
    }
    return std::to_chars(out, out + 4, shown).ptr;
}

} // namespace sim
