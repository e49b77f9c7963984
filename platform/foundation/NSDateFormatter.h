#pragma once
// NSDateFormatter with a fixed pattern ("EEE, MMM d, y"), a locale and a time zone. Formatting
// goes through ICU's SimpleDateFormat, the engine the platform's formatter uses, so names and
// field rules are the platform's (Unicode TR35 patterns).

#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSLocale.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimeZone.h"
#include "platform/runtime/NSObject.h"

#include <memory>
#include <string>

/// Turns dates into text with a pattern, a locale and a time zone.
class NSDateFormatter : public NSObject {
  public:
    static constexpr const char* kClassName = "NSDateFormatter";
    using Super = NSObject;

    /// Takes the device's current locale and time zone (ns::Region) and an empty pattern.
    NSDateFormatter();
    ~NSDateFormatter() override;

    /// `setDateFormat:`: a TR35 pattern; quoted text is literal.
    void setDateFormat(std::string pattern);
    [[nodiscard]] const std::string& dateFormat() const { return pattern_; }
    /// `setLocale:`; nil means the device's current locale at each use.
    void setLocale(std::shared_ptr<NSLocale> locale);
    [[nodiscard]] std::shared_ptr<NSLocale> locale() const;
    /// `setTimeZone:`; nil means the device's time zone at each use.
    void setTimeZone(std::shared_ptr<NSTimeZone> timeZone);
    [[nodiscard]] std::shared_ptr<NSTimeZone> timeZone() const;

    /// `stringFromDate:`: nil for a nil date; an empty string when ICU cannot use the pattern.
    [[nodiscard]] std::shared_ptr<NSString> stringFromDate(const std::shared_ptr<NSDate>& date) const;

  private:
    struct Engine;
    std::string pattern_;
    std::shared_ptr<NSLocale> locale_;
    std::shared_ptr<NSTimeZone> timeZone_;
    // The ICU formatter for the current settings, made on first use and dropped when a setting
    // changes.
    mutable std::unique_ptr<Engine> engine_;
};
