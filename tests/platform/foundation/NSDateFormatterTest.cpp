#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NSTimeZone.h"
#include "platform/foundation/Region.h"
#include "platform/runtime/Runtime.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <random>

#include <string>
#include <vector>

namespace {

// 2013-01-08 03:30 UTC: still the 7th in New York, already the 8th in Berlin and Tokyo.
constexpr double kMorningOfJan8Utc = 1357615800.0;

struct FormatterCase {
    std::string locale;
    std::string timeZone;
    std::string pattern;
    std::string expected;
};

void PrintTo(const FormatterCase& c, std::ostream* out) {
    *out << c.locale << " " << c.timeZone << " \"" << c.pattern << "\"";
}

class DateFormatterTest : public ::testing::TestWithParam<FormatterCase> {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

TEST_P(DateFormatterTest, FormatsLocalWallClockWithLocalizedNames) {
    auto formatter = rt::make<NSDateFormatter>();
    formatter->setDateFormat(GetParam().pattern);
    formatter->setLocale(NSLocale::localeWithLocaleIdentifier(GetParam().locale));
    formatter->setTimeZone(NSTimeZone::timeZoneWithName(GetParam().timeZone));
    EXPECT_EQ(formatter->stringFromDate(NSDate::withTimeIntervalSince1970(kMorningOfJan8Utc))->str(),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateFormatterTest,
    ::testing::Values(FormatterCase{"en_US", "Europe/Berlin", "EEE, MMM d, y", "Tue, Jan 8, 2013"},
                      FormatterCase{"en_US", "America/New_York", "EEE, MMM d, y", "Mon, Jan 7, 2013"},
                      FormatterCase{"de_DE", "Europe/Berlin", "EEE, MMM d, y", "Di., Jan. 8, 2013"},
                      FormatterCase{"de_DE", "America/New_York", "EEE, MMM d, y", "Mo., Jan. 7, 2013"},
                      FormatterCase{"en_US", "Asia/Tokyo", "EEEE dd MMMM yyyy HH:mm:ss",
                                    "Tuesday 08 January 2013 12:30:00"},
                      FormatterCase{"en_US", "America/New_York", "h:mm a 'at' M/d", "10:30 PM at 1/7"},
                      FormatterCase{"en_US", "Asia/Kolkata", "d 'h' MMM", "8 h Jan"}),
    [](const auto& info) {
        // The zone's city is enough to tell the cases apart.
        const std::string& zone = info.param.timeZone;
        return testing_support::caseName(info.param.locale + " " + zone.substr(zone.rfind('/') + 1) + " " +
                                         info.param.pattern);
    });

// One formatter keeps the text of each local day for a pattern of the date alone; every moment must
// still show what a formatter that keeps nothing shows (the same pattern with an hour field after
// a literal mark, which is cut off): across midnights, offset changes of an hour, half an hour
// and a whole day, zones of quarter hours, for patterns with the time or quoted letters, and with
// the moments in order and shuffled, so that days come back out of order.
TEST(DateFormatter, ShowsTheSameTextForEveryMomentOfARowAsForThatMomentAlone) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    const auto formatterFor = [](const std::string& zone, const std::string& pattern) {
        auto formatter = rt::make<NSDateFormatter>();
        formatter->setDateFormat(pattern);
        formatter->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
        formatter->setTimeZone(NSTimeZone::timeZoneWithName(zone));
        return formatter;
    };
    // 2011-03-01 to 2012-05-01 in steps of 1 h 30 min 17 s: Apia skipped 2011-12-30.
    std::vector<double> moments;
    for (double moment = 1298937600.0; moment < 1335830400.0; moment += 5417.0) {
        moments.push_back(moment);
    }
    std::vector<double> shuffled = moments;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(20111230));
    for (const std::string& zone : std::vector<std::string>{
             "America/New_York", "Asia/Kolkata", "Australia/Lord_Howe", "Pacific/Chatham", "Pacific/Apia"}) {
        for (const std::string& pattern :
             std::vector<std::string>{"EEE, MMM d, y", "d 'h' MMM", "h:mm a 'at' M/d", "a 'on' M/d"}) {
            const auto alone = formatterFor(zone, pattern + " ~HH");
            for (const auto* order : {&moments, &shuffled}) {
                const auto inARow = formatterFor(zone, pattern);
                for (const double moment : *order) {
                    const auto date = NSDate::withTimeIntervalSince1970(moment);
                    std::string expected = alone->stringFromDate(date)->str();
                    expected.erase(expected.rfind(" ~"));
                    ASSERT_EQ(inARow->stringFromDate(date)->str(), expected)
                        << zone << " \"" << pattern << "\" at " << moment
                        << (order == &shuffled ? ", shuffled" : "");
                }
            }
        }
    }
}

// A pattern of the time alone, without quotes, shows each moment's own time.
TEST(DateFormatter, APatternOfTheTimeShowsEachMomentsOwnTime) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    auto formatter = rt::make<NSDateFormatter>();
    formatter->setDateFormat("HH:mm");
    formatter->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
    formatter->setTimeZone(NSTimeZone::timeZoneWithName("UTC"));
    EXPECT_EQ(formatter->stringFromDate(NSDate::withTimeIntervalSince1970(kMorningOfJan8Utc))->str(),
              "03:30");
    EXPECT_EQ(formatter->stringFromDate(NSDate::withTimeIntervalSince1970(kMorningOfJan8Utc + 3600))->str(),
              "04:30");
    // Letters at both ends of the alphabets are fields of the time too: milliseconds in the day
    // and the half of the day.
    for (const char* pattern : {"A", "a"}) {
        formatter->setDateFormat(pattern);
        EXPECT_NE(formatter->stringFromDate(NSDate::withTimeIntervalSince1970(kMorningOfJan8Utc))->str(),
                  formatter->stringFromDate(NSDate::withTimeIntervalSince1970(kMorningOfJan8Utc + 13 * 3600))
                      ->str())
            << pattern;
    }
}

class DateFormatterDefaultsTest : public ::testing::Test {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

TEST_F(DateFormatterDefaultsTest, TakesTheDevicesRegion) {
    const ns::Region::Scope region{ns::Region{"de_DE", "Asia/Tokyo"}};
    auto formatter = rt::make<NSDateFormatter>();
    formatter->setDateFormat("EEE, MMM d, y");
    EXPECT_EQ(formatter->locale()->localeIdentifier(), "de_DE");
    EXPECT_EQ(formatter->timeZone()->name(), "Asia/Tokyo");
    EXPECT_EQ(formatter->stringFromDate(NSDate::withTimeIntervalSince1970(kMorningOfJan8Utc))->str(),
              "Di., Jan. 8, 2013");
    EXPECT_EQ(formatter->stringFromDate(nullptr), nullptr);
}

TEST_F(DateFormatterDefaultsTest, ChangingSettingsTakesEffect) {
    auto formatter = rt::make<NSDateFormatter>();
    formatter->setLocale(NSLocale::localeWithLocaleIdentifier("en_US"));
    formatter->setTimeZone(NSTimeZone::timeZoneWithName("UTC"));
    formatter->setDateFormat("y");
    const auto date = NSDate::withTimeIntervalSince1970(kMorningOfJan8Utc);
    EXPECT_EQ(formatter->stringFromDate(date)->str(), "2013");
    formatter->setDateFormat("MMM");
    EXPECT_EQ(formatter->stringFromDate(date)->str(), "Jan");
    formatter->setLocale(NSLocale::localeWithLocaleIdentifier("fr_FR"));
    EXPECT_EQ(formatter->stringFromDate(date)->str(), "janv.");
}

TEST(TimeZone, UnknownNameIsNil) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    EXPECT_EQ(NSTimeZone::timeZoneWithName("Mars/Olympus_Mons"), nullptr);
    ASSERT_NE(NSTimeZone::timeZoneWithName("Europe/Berlin"), nullptr);
}

TEST(Region, ScopeOverridesOnlyWhatItNames) {
    const ns::Region outside = ns::Region::current();
    {
        const ns::Region::Scope scope{ns::Region{"fr_FR", ""}};
        EXPECT_EQ(ns::Region::current().localeIdentifier, "fr_FR");
        EXPECT_EQ(ns::Region::current().timeZoneName, outside.timeZoneName);
    }
    EXPECT_EQ(ns::Region::current().localeIdentifier, outside.localeIdentifier);
}

// Outside any scope the zone is the host's, as TZ names it.
TEST(Region, TheEnvironmentsZoneIsTheHosts) {
    const char* before = std::getenv("TZ");
    const std::optional<std::string> saved = before ? std::optional<std::string>(before) : std::nullopt;
    ::setenv("TZ", "Asia/Tokyo", 1);
    const std::string zone = ns::Region::fromEnvironment().timeZoneName;
    if (saved) {
        ::setenv("TZ", saved->c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    EXPECT_EQ(zone, "Asia/Tokyo");
}

// Two zones are equal when they have the same name.
TEST(NSTimeZoneEquality, ByName) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    auto berlin = NSTimeZone::timeZoneWithName("Europe/Berlin");
    ASSERT_NE(berlin, nullptr);
    EXPECT_TRUE(berlin->isEqual(*NSTimeZone::timeZoneWithName("Europe/Berlin")));
    EXPECT_FALSE(berlin->isEqual(*NSTimeZone::timeZoneWithName("UTC")));
    EXPECT_FALSE(berlin->isEqual(*NSString::with("Europe/Berlin"))) << "another kind of object";
}

} // namespace
