#include "platform/foundation/PropertyListDate.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace plist {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 to the reference date 2001-01-01.
constexpr std::int64_t kReferenceDay = 11323;
// About 31.7 million years either way: far beyond any real date, far inside int64 arithmetic.
constexpr double kMaxSeconds = 1e15;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

// The proleptic Gregorian date of a day counted from 1970-01-01 (H. Hinnant's civil_from_days).
Civil civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

bool isLeap(std::int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned daysInMonth(std::int64_t y, unsigned m) {
    static constexpr unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Reads exactly two digits at `pos` and a following separator (unless `separator` is 0).
bool twoDigits(std::string_view text, std::size_t& pos, char separator, unsigned& value) {
    if (pos + 2 > text.size() || text[pos] < '0' || text[pos] > '9' || text[pos + 1] < '0' ||
        text[pos + 1] > '9') {
        return false;
    }
    value = static_cast<unsigned>((text[pos] - '0') * 10 + (text[pos + 1] - '0'));
    pos += 2;
    if (separator != 0) {
        if (pos >= text.size() || text[pos] != separator) {
            return false;
        }
        ++pos;
    }
    return true;
}

} // namespace

bool isWritableDate(double secondsSinceReferenceDate) {
    return std::isfinite(secondsSinceReferenceDate) && std::fabs(secondsSinceReferenceDate) <= kMaxSeconds;
}

std::optional<std::string> formatXmlDate(double secondsSinceReferenceDate) {
    std::string text;
    if (!appendXmlDate(text, secondsSinceReferenceDate)) {
        return std::nullopt;
    }
    return text;
}

bool appendXmlDate(std::string& out, double secondsSinceReferenceDate) {
    if (!isWritableDate(secondsSinceReferenceDate)) {
        return false;
    }
    const auto whole = static_cast<std::int64_t>(std::floor(secondsSinceReferenceDate));
    const std::int64_t day = floorDiv(whole, kSecondsPerDay);
    const std::int64_t secondOfDay = whole - day * kSecondsPerDay;
    const Civil date = civilFromDays(day + kReferenceDay);
    const auto hour = static_cast<unsigned>(secondOfDay / 3600);
    const auto minute = static_cast<unsigned>(secondOfDay / 60 % 60);
    const auto second = static_cast<unsigned>(secondOfDay % 60);
    if (date.year < 0 || date.year > 9999) {
        // Years of other widths, and signs, as printf lays them out.
        char text[64];
        const int length =
            std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02uZ",
                          static_cast<long long>(date.year), date.month, date.day, hour, minute, second);
        out.append(text, static_cast<std::size_t>(length));
        return true;
    }
    // Every date a real file holds: fixed places, written directly.
    const auto year = static_cast<unsigned>(date.year);
    char text[20] = {static_cast<char>('0' + year / 1000),
                     static_cast<char>('0' + year / 100 % 10),
                     static_cast<char>('0' + year / 10 % 10),
                     static_cast<char>('0' + year % 10),
                     '-',
                     static_cast<char>('0' + date.month / 10),
                     static_cast<char>('0' + date.month % 10),
                     '-',
                     static_cast<char>('0' + date.day / 10),
                     static_cast<char>('0' + date.day % 10),
                     'T',
                     static_cast<char>('0' + hour / 10),
                     static_cast<char>('0' + hour % 10),
                     ':',
                     static_cast<char>('0' + minute / 10),
                     static_cast<char>('0' + minute % 10),
                     ':',
                     static_cast<char>('0' + second / 10),
                     static_cast<char>('0' + second % 10),
                     'Z'};
    out.append(text, sizeof text);
    return true;
}

std::optional<double> parseXmlDate(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    pos += negative ? 1 : 0;
    std::int64_t year = 0;
    const std::size_t yearStart = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - yearStart < 9) {
        year = year * 10 + (text[pos] - '0');
        ++pos;
    }
    if (pos == yearStart || pos >= text.size() || text[pos] != '-') {
        return std::nullopt;
    }
    ++pos;
    year = negative ? -year : year;
    unsigned month = 0;
    unsigned day = 0;
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
    if (!twoDigits(text, pos, '-', month) || !twoDigits(text, pos, 'T', day) ||
        !twoDigits(text, pos, ':', hour) || !twoDigits(text, pos, ':', minute) ||
        !twoDigits(text, pos, 'Z', second) || pos != text.size()) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59) {
        return std::nullopt;
    }
    const std::int64_t days = daysFromCivil(year, month, day) - kReferenceDay;
    const auto seconds = static_cast<double>(days * kSecondsPerDay + hour * 3600 + minute * 60 + second);
    if (!isWritableDate(seconds)) {
        return std::nullopt;
    }
    return seconds;
}

} // namespace plist
