#include "platform/foundation/NumberScanning.h"

#include "platform/foundation/CLocale.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace ns {
namespace {

// The platform's scanner skips every UTF-16 unit below 0x21 (control characters and space),
// 0x7F to 0xA0, U+2000 to U+200B and U+3000. Text here is UTF-8, so a blank may take one to
// three bytes; returns how many the blank at `at` takes, 0 when there is none.
std::size_t blankLength(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const std::size_t left = text.size() - at;
    const unsigned char first = byte(at);
    if (first < 0x21 || first == 0x7F) {
        return 1;
    }
    // U+0080 to U+00A0: C2 80 .. C2 A0.
    if (first == 0xC2 && left >= 2 && byte(at + 1) >= 0x80 && byte(at + 1) <= 0xA0) {
        return 2;
    }
    // U+2000 to U+200B: E2 80 80 .. E2 80 8B.
    if (first == 0xE2 && left >= 3 && byte(at + 1) == 0x80 && byte(at + 2) >= 0x80 && byte(at + 2) <= 0x8B) {
        return 3;
    }
    // U+3000: E3 80 80.
    if (first == 0xE3 && left >= 3 && byte(at + 1) == 0x80 && byte(at + 2) == 0x80) {
        return 3;
    }
    return 0;
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size()) {
        const std::size_t length = blankLength(text, at);
        if (length == 0) {
            break;
        }
        at += length;
    }
    return at;
}

bool fitsNumber(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

} // namespace

double scanDouble(std::string_view text) {
    const std::size_t start = skipBlanks(text, 0);
    std::size_t end = start;
    while (end < text.size() && fitsNumber(text[end])) {
        ++end;
    }
    if (end == start) {
        return 0.0;
    }
    // strtod in the "C" locale whatever the process locale is, so '.' is always the point.
    const std::string run(text.substr(start, end - start));
    char* stop = nullptr;
    const double value = strtod_l(run.c_str(), &stop, cLocale());
    return stop == run.c_str() ? 0.0 : value;
}

float scanFloat(std::string_view text) {
    return static_cast<float>(scanDouble(text));
}

int scanInt(std::string_view text) {
    std::size_t i = skipBlanks(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        i = skipBlanks(text, i + 1);
    }
    long long value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (!overflow) {
            value = value * 10 + (text[i] - '0');
            overflow = value > static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        return overflow || -value < INT_MIN ? INT_MIN : static_cast<int>(-value);
    }
    return overflow || value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

} // namespace ns
