#include "platform/foundation/NumberScanning.h"

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace ns {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool fitsNumber(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

// strtod in the "C" locale whatever the process locale is, so '.' is always the point.
locale_t cLocale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

} // namespace

double scanDouble(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < text.size() && fitsNumber(text[end])) {
        ++end;
    }
    if (end == start) {
        return 0.0;
    }
    std::string run(text.substr(start, end - start));
    char* stop = nullptr;
    double value = strtod_l(run.c_str(), &stop, cLocale());
    return stop == run.c_str() ? 0.0 : value;
}

float scanFloat(std::string_view text) {
    return static_cast<float>(scanDouble(text));
}

int scanInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
        while (i < text.size() && isBlank(text[i])) {
            ++i;
        }
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
