#include "platform/foundation/StringFormat.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/NumberScanning.h"
#include "platform/runtime/Runtime.h"
#include "tests/platform/foundation/CommaLocale.h"

#include <gtest/gtest.h>

#include <langinfo.h>
#include <string>

namespace {

struct FormatCase {
    std::string name;
    std::string actual;
    std::string expected;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.name;
}

class StringFormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(StringFormatTest, MatchesThePlatform) {
    EXPECT_EQ(GetParam().actual, GetParam().expected);
}

// Rounding of the last digit is the C library's: exact binary value, ties to even.
INSTANTIATE_TEST_SUITE_P(
    Table, StringFormatTest,
    ::testing::Values(
        FormatCase{"SixDecimals", ns::format("%f", 75.36), "75.360000"},
        FormatCase{"OneDecimal", ns::format("%.1f", 45.25), "45.2"},
        FormatCase{"StoredBelowTie", ns::format("%.1f", 0.35), "0.3"},
        FormatCase{"NoDecimalsTieToEvenDown", ns::format("%.f", 0.5), "0"},
        FormatCase{"NoDecimalsTieToEvenUp", ns::format("%.f", 1.5), "2"},
        FormatCase{"NoDecimalsTie2", ns::format("%.f", 2.5), "2"},
        FormatCase{"FloatIsWidened", ns::format("%.9f", 0.15f), "0.150000006"},
        FormatCase{"Integer", ns::format("%i:", 12), "12:"},
        FormatCase{"IntegerIs32Bit", ns::format("%i", 4294967297LL), "1"},
        FormatCase{"LongLong", ns::format("%lld", 4294967297LL), "4294967297"},
        FormatCase{"NSInteger", ns::format("%qi", -5LL), "-5"},
        FormatCase{"NegativeAtEachWidth", ns::format("%d|%i|%hd|%hhi", -5, -6, -7, -8), "-5|-6|-7|-8"},
        FormatCase{"Unsigned", ns::format("%u %x %X %o", 300u, 255, 255, 8), "300 ff FF 10"},
        FormatCase{"Char", ns::format("%c%c", 'o', 'k'), "ok"},
        FormatCase{"WidthAndFlags", ns::format("[%5.1f|%-4i|%04i|%+i]", 3.14159, 7, 7, 7),
                   "[  3.1|7   |0007|+7]"},
        FormatCase{"ZeroMinutes", ns::format("0%.f:", 5.0f), "05:"},
        FormatCase{"Percent", ns::format("100%%"), "100%"},
        FormatCase{"PercentBeforeALetter", ns::format("%%d is %d", 7), "%d is 7"},
        FormatCase{"CString", ns::format("<%s>", "abc"), "<abc>"},
        FormatCase{"StringObject", ns::format("Times - %@", std::string("Default")), "Times - Default"},
        FormatCase{"UserTextIsNeverAFormat", ns::format("%@", std::string("50%s %n %@")), "50%s %n %@"},
        FormatCase{"TextWithPoint", ns::format("%@.%i", std::string("75"), 3), "75.3"},
        FormatCase{"NilObject", ns::format("%@", std::shared_ptr<NSString>{}), "(null)"},
        FormatCase{"NullCString", ns::format("%s", static_cast<const char*>(nullptr)), "(null)"},
        FormatCase{"LongOutput", ns::format("%300i", 1), std::string(299, ' ') + "1"}),
    [](const auto& info) { return info.param.name; });

TEST(StringWithFormat, PrintsObjectDescriptions) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    const auto name = NSString::with("Default");
    EXPECT_EQ(NSString::stringWithFormat("Times - %@", name)->str(), "Times - Default");
    EXPECT_EQ(NSString::stringWithFormat("%@", NSNumber::withInteger(12))->str(), "12");
}

// The platform never localises number text: under a comma locale formatting still writes '.' and
// reading still takes '.' as the point.
TEST(StringFormatLocale, CommaLocaleStillUsesPoint) {
    const locale_t comma = testing_support::commaLocale();
    if (comma == static_cast<locale_t>(nullptr) || std::string(nl_langinfo_l(RADIXCHAR, comma)) != ",") {
        FAIL() << "no locale with a comma decimal point on this machine (scripts/install-deps makes "
                  "de_DE.UTF-8)";
    }
    const testing_support::ThreadLocaleScope inForce{comma};
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 75.3);
    ASSERT_STREQ(probe, "75,3") << "the comma locale is not in force";
    EXPECT_EQ(ns::format("%.1f", 75.3), "75.3");
    EXPECT_EQ(ns::format("%f", 1.5), "1.500000");
    EXPECT_EQ(ns::scanDouble("75.3"), 75.3);
    EXPECT_EQ(ns::scanFloat("75,3"), 75.0f);
    std::snprintf(probe, sizeof probe, "%.1f", 75.3);
    EXPECT_STREQ(probe, "75,3") << "the thread's locale was not restored";
}

} // namespace
