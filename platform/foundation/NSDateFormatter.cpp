#include "platform/foundation/NSDateFormatter.h"

#include "platform/foundation/Region.h"

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace {

// True when every field of the pattern is one of the calendar date (era, year, quarter, month,
// week, day, weekday): its text is then the same for every moment of one local day. Quoted text
// is literal; any other letter (hours, minutes, zones, periods) is a field of the time.
bool namesTheDayOnly(std::string_view pattern) {
    constexpr std::string_view kDateFields = "GyYuUrQqMLwWdDFgEec";
    bool quoted = false;
    for (const char c : pattern) {
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) &&
                   kDateFields.find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

} // namespace

// ICU stays in this file: the formatter and the settings it was made for, and, for a pattern of
// the date alone, the text of each local day formatted (up to kKeptDays of them, then afresh), so
// that a list of results from a few hundred days in any order formats each day once.
struct NSDateFormatter::Engine {
    static constexpr std::size_t kKeptDays = 16384;
    std::string pattern;
    std::string localeIdentifier;
    std::string timeZoneName;
    std::unique_ptr<icu::SimpleDateFormat> format;
    bool dayOnly = false;
    std::unordered_map<std::int64_t, std::string> dayTexts;
};

NSDateFormatter::NSDateFormatter()
    : locale_(NSLocale::currentLocale()), timeZone_(NSTimeZone::defaultTimeZone()) {}

NSDateFormatter::~NSDateFormatter() = default;

void NSDateFormatter::setDateFormat(std::string pattern) {
    pattern_ = std::move(pattern);
}

void NSDateFormatter::setLocale(std::shared_ptr<NSLocale> locale) {
    locale_ = std::move(locale);
}

std::shared_ptr<NSLocale> NSDateFormatter::locale() const {
    return locale_ ? locale_ : NSLocale::currentLocale();
}

void NSDateFormatter::setTimeZone(std::shared_ptr<NSTimeZone> timeZone) {
    timeZone_ = std::move(timeZone);
}

std::shared_ptr<NSTimeZone> NSDateFormatter::timeZone() const {
    return timeZone_ ? timeZone_ : NSTimeZone::defaultTimeZone();
}

std::shared_ptr<NSString> NSDateFormatter::stringFromDate(const std::shared_ptr<NSDate>& date) const {
    if (!date) {
        return nullptr;
    }
    const std::shared_ptr<NSLocale> currentLocale = locale();
    const std::shared_ptr<NSTimeZone> currentTimeZone = timeZone();
    const std::string& localeIdentifier = currentLocale->localeIdentifier();
    const std::string& timeZoneName = currentTimeZone->name();
    if (!engine_ || engine_->pattern != pattern_ || engine_->localeIdentifier != localeIdentifier ||
        engine_->timeZoneName != timeZoneName) {
        auto engine =
            std::make_unique<Engine>(Engine{pattern_, localeIdentifier, timeZoneName, nullptr, false, {}});
        engine->dayOnly = namesTheDayOnly(pattern_);
        UErrorCode status = U_ZERO_ERROR;
        engine->format = std::make_unique<icu::SimpleDateFormat>(
            icu::UnicodeString::fromUTF8(pattern_), icu::Locale::createFromName(localeIdentifier.c_str()),
            status);
        if (U_FAILURE(status)) {
            engine->format.reset();
        } else {
            engine->format->adoptTimeZone(
                icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZoneName)));
        }
        engine_ = std::move(engine);
    }
    if (!engine_->format) {
        return NSString::with("");
    }
    const double moment = date->timeIntervalSince1970() * 1000.0;
    // The calendar finds a moment's fields from its local day, the moment plus the zone's offset
    // then, so a date pattern's text is that of the day: each day is formatted once.
    std::optional<std::int64_t> localDay;
    if (engine_->dayOnly && std::fabs(moment) < 1e17) {
        std::int32_t rawOffset = 0;
        std::int32_t dstOffset = 0;
        UErrorCode status = U_ZERO_ERROR;
        engine_->format->getTimeZone().getOffset(moment, false, rawOffset, dstOffset, status);
        if (U_SUCCESS(status)) {
            localDay = static_cast<std::int64_t>(std::floor(
                (moment + static_cast<double>(rawOffset) + static_cast<double>(dstOffset)) / 86400000.0));
        }
    }
    if (localDay) {
        if (const auto kept = engine_->dayTexts.find(*localDay); kept != engine_->dayTexts.end()) {
            return NSString::with(kept->second);
        }
    }
    icu::UnicodeString text;
    engine_->format->format(moment, text);
    std::string utf8;
    text.toUTF8String(utf8);
    if (localDay) {
        if (engine_->dayTexts.size() >= Engine::kKeptDays) {
            engine_->dayTexts.clear();
        }
        engine_->dayTexts.emplace(*localDay, utf8);
    }
    return NSString::with(std::move(utf8));
}
