#include "simulator/device/StartTime.h"

#include <unicode/timezone.h>
#include <unicode/uloc.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>

namespace sim {
namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

// Reads exactly `width` digits at `pos`.
std::optional<int> digits(std::string_view text, std::size_t& pos, std::size_t width) {
    if (pos + width > text.size()) {
        return std::nullopt;
    }
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    int value = 0;
    std::from_chars(text.data() + pos, text.data() + pos + width, value);
    pos += width;
    return value;
}

bool expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// The offset of `zone` from UTC at the wall-clock moment `localSeconds`, in seconds.
std::optional<double> zoneOffset(const std::string& zone, double localSeconds) {
    if (zone.empty()) {
        return 0.0;
    }
    std::unique_ptr<icu::TimeZone> tz(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(zone)));
    if (!tz || *tz == icu::TimeZone::getUnknown()) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t raw = 0;
    int32_t dst = 0;
    tz->getOffset(localSeconds * 1000.0, true, raw, dst, status);
    if (U_FAILURE(status)) {
        return std::nullopt;
    }
    return (raw + dst) / 1000.0;
}

} // namespace

bool isKnownTimeZone(const std::string& zone) {
    return zoneOffset(zone, 0).has_value();
}

bool isKnownLocale(const std::string& locale) {
    // The C library's own names for its plain locale, as LANG or LC_ALL may hold them.
    std::string base = locale.substr(0, locale.find_first_of(".@"));
    if (base == "C" || base == "POSIX") {
        return true;
    }
    UErrorCode status = U_ZERO_ERROR;
    char canonical[ULOC_FULLNAME_CAPACITY] = {};
    uloc_canonicalize(locale.c_str(), canonical, sizeof canonical, &status);
    if (U_FAILURE(status) || canonical[0] == '\0') {
        return false;
    }
    // ICU answers an empty three-letter code for a language or region it has no record of.
    char language[ULOC_LANG_CAPACITY] = {};
    char country[ULOC_COUNTRY_CAPACITY] = {};
    uloc_getLanguage(canonical, language, sizeof language, &status);
    uloc_getCountry(canonical, country, sizeof country, &status);
    if (U_FAILURE(status) || language[0] == '\0' || uloc_getISO3Language(canonical)[0] == '\0') {
        return false;
    }
    return country[0] == '\0' || uloc_getISO3Country(canonical)[0] != '\0';
}

std::optional<double> parseStartTime(std::string_view text, const std::string& zone) {
    std::size_t pos = 0;
    auto year = digits(text, pos, 4);
    if (!year || !expect(text, pos, '-')) {
        return std::nullopt;
    }
    auto month = digits(text, pos, 2);
    if (!month || !expect(text, pos, '-')) {
        return std::nullopt;
    }
    auto day = digits(text, pos, 2);
    if (!day || !(expect(text, pos, 'T') || expect(text, pos, ' '))) {
        return std::nullopt;
    }
    auto hour = digits(text, pos, 2);
    if (!hour || !expect(text, pos, ':')) {
        return std::nullopt;
    }
    auto minute = digits(text, pos, 2);
    if (!minute) {
        return std::nullopt;
    }
    double seconds = 0;
    if (expect(text, pos, ':')) {
        auto whole = digits(text, pos, 2);
        if (!whole) {
            return std::nullopt;
        }
        seconds = *whole;
        if (expect(text, pos, '.')) {
            std::size_t start = pos;
            double scale = 0.1;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
                seconds += (text[pos] - '0') * scale;
                scale /= 10;
                ++pos;
            }
            if (pos == start) {
                return std::nullopt;
            }
        }
    }
    if (*month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month) || *hour > 23 ||
        *minute > 59 || seconds >= 60) {
        return std::nullopt;
    }
    double wall = static_cast<double>(daysFromCivil(*year, *month, *day)) * 86400.0 + *hour * 3600.0 +
                  *minute * 60.0 + seconds;

    if (pos == text.size()) {
        auto offset = zoneOffset(zone, wall);
        if (!offset) {
            return std::nullopt;
        }
        return wall - *offset;
    }
    if (expect(text, pos, 'Z')) {
        return pos == text.size() ? std::optional<double>(wall) : std::nullopt;
    }
    int sign = 0;
    if (expect(text, pos, '+')) {
        sign = 1;
    } else if (expect(text, pos, '-')) {
        sign = -1;
    } else {
        return std::nullopt;
    }
    auto offsetHours = digits(text, pos, 2);
    if (!offsetHours) {
        return std::nullopt;
    }
    expect(text, pos, ':');
    auto offsetMinutes = digits(text, pos, 2);
    if (!offsetMinutes || pos != text.size() || *offsetHours > 23 || *offsetMinutes > 59) {
        return std::nullopt;
    }
    return wall - sign * (*offsetHours * 3600.0 + *offsetMinutes * 60.0);
}

} // namespace sim
