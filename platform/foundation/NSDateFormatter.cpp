#include "platform/foundation/NSDateFormatter.h"

#include "platform/foundation/Region.h"

#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

// ICU stays in this file: the formatter and the settings it was made for.
struct NSDateFormatter::Engine {
    std::string pattern;
    std::string localeIdentifier;
    std::string timeZoneName;
    std::unique_ptr<icu::SimpleDateFormat> format;
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
    const std::string localeIdentifier = locale()->localeIdentifier();
    const std::string timeZoneName = timeZone()->name();
    if (!engine_ || engine_->pattern != pattern_ || engine_->localeIdentifier != localeIdentifier ||
        engine_->timeZoneName != timeZoneName) {
        auto engine = std::make_unique<Engine>(Engine{pattern_, localeIdentifier, timeZoneName, nullptr});
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
    icu::UnicodeString text;
    engine_->format->format(date->timeIntervalSince1970() * 1000.0, text);
    std::string utf8;
    text.toUTF8String(utf8);
    return NSString::with(std::move(utf8));
}
