#include "platform/foundation/PropertyListDate.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace {

// Seconds since 2001-01-01T00:00:00Z of a civil time, by the standard library's calendar.
double secondsOf(int year, unsigned month, unsigned day, unsigned hour, unsigned minute, unsigned second) {
    using namespace std::chrono;
    const sys_days date =
        year_month_day{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}};
    const sys_days reference = year_month_day{std::chrono::year{2001}, January, std::chrono::day{1}};
    return static_cast<double>((date - reference).count()) * 86400.0 + hour * 3600.0 + minute * 60.0 + second;
}

// Both sides of every year, month and day boundary the layout can meet: the first and last
// second of each month of years with four digits and beyond (the text then takes printf's
// layout of a wider or negative year), leap days included. Each time writes as the text of its
// fields and that text reads back as the same time.
TEST(PropertyListDate, WritesAndReadsEveryMonthBoundaryOfEveryKindOfYear) {
    int checked = 0;
    for (const int year : {-32767, -10000, -1, 0, 1, 999, 1000, 1899, 1900, 1969, 1970, 1999, 2000, 2001,
                           2024, 2100, 9999, 10000, 32767}) {
        for (unsigned month = 1; month <= 12; ++month) {
            const unsigned last = static_cast<unsigned>(std::chrono::year_month_day_last{
                std::chrono::year{year}, std::chrono::month_day_last{std::chrono::month{
                                             month}}}.day());
            for (const auto& [day, hour, minute, second] :
                 {std::array<unsigned, 4>{1, 0, 0, 0}, std::array<unsigned, 4>{1, 0, 0, 59},
                  std::array<unsigned, 4>{last, 9, 59, 0}, std::array<unsigned, 4>{last, 23, 59, 59}}) {
                char expected[64];
                std::snprintf(expected, sizeof expected, "%04d-%02u-%02uT%02u:%02u:%02uZ", year, month, day,
                              hour, minute, second);
                const double seconds = secondsOf(year, month, day, hour, minute, second);
                EXPECT_EQ(plist::formatXmlDate(seconds).value_or("none"), expected) << seconds;
                // Half a second later still writes the same second: the fraction is dropped.
                EXPECT_EQ(plist::formatXmlDate(seconds + 0.5).value_or("none"), expected) << seconds;
                EXPECT_EQ(plist::parseXmlDate(expected), seconds) << expected;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 19 * 12 * 4);
}

// A date is read only on a day its month has, leap days by the Gregorian rule, in every year
// from 0 to 2400: compared with the standard library's calendar.
TEST(PropertyListDate, ReadsOnlyTheDaysEachMonthHas) {
    for (int year = 0; year <= 2400; ++year) {
        for (unsigned month = 1; month <= 12; ++month) {
            const unsigned last = static_cast<unsigned>(std::chrono::year_month_day_last{
                std::chrono::year{year}, std::chrono::month_day_last{std::chrono::month{
                                             month}}}.day());
            for (const unsigned day : {last, last + 1}) {
                char text[32];
                std::snprintf(text, sizeof text, "%04d-%02u-%02uT00:00:00Z", year, month, day);
                ASSERT_EQ(plist::parseXmlDate(text).has_value(), day == last) << text;
            }
        }
    }
}

// Every digit of a date is a digit: the characters just below '0' and just above '9' in its place
// are refused, wherever it stands in the year or a two-digit field. So is every text cut short,
// and a field one past its largest value (a leap second included).
TEST(PropertyListDate, RefusesACharacterNextToTheDigitsInPlaceOfAnyDigit) {
    const std::string valid = "2019-10-19T19:39:49Z";
    ASSERT_TRUE(plist::parseXmlDate(valid));
    for (std::size_t length = 0; length < valid.size(); ++length) {
        EXPECT_FALSE(plist::parseXmlDate(valid.substr(0, length))) << valid.substr(0, length);
    }
    for (const char* text : {"2019-13-19T19:39:49Z", "2019-10-32T19:39:49Z", "2019-10-19T24:39:49Z",
                             "2019-10-19T19:60:49Z", "2019-10-19T19:39:60Z"}) {
        EXPECT_FALSE(plist::parseXmlDate(text)) << text;
    }
    for (std::size_t i = 0; i < valid.size(); ++i) {
        if (valid[i] < '0' || valid[i] > '9') {
            continue;
        }
        for (const char near : {'/', ':'}) {
            std::string text = valid;
            text[i] = near;
            EXPECT_FALSE(plist::parseXmlDate(text)) << text;
        }
    }
}

// Whitespace around the text, of any length on either side, reads as the date alone.
TEST(PropertyListDate, ReadsADateBetweenWhitespace) {
    const std::optional<double> plain = plist::parseXmlDate("2013-03-02T12:00:00Z");
    ASSERT_TRUE(plain);
    for (const char* text :
         {" 2013-03-02T12:00:00Z", "2013-03-02T12:00:00Z ", "\n\t 2013-03-02T12:00:00Z\r\n "}) {
        EXPECT_EQ(plist::parseXmlDate(text), plain) << text;
    }
}

} // namespace
