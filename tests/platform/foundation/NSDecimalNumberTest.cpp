#include "platform/foundation/NSDecimalNumber.h"
#include "platform/foundation/NSDecimal.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace {

const std::string k38Nines(38, '9');
const std::string k38Digits = "12345678901234567890123456789012345678";

struct FromDoubleCase {
    double value;
    std::string expected;
};

void PrintTo(const FromDoubleCase& c, std::ostream* out) {
    *out << c.value;
}

class DecimalFromDoubleTest : public ::testing::TestWithParam<FromDoubleCase> {};

// The platform keeps the digits its repeated multiplication by ten produces, neither the exact
// binary value nor the shortest text.
TEST_P(DecimalFromDoubleTest, KeepsThePlatformsDigits) {
    EXPECT_EQ(ns::decimalString(ns::decimalFromDouble(GetParam().value)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, DecimalFromDoubleTest,
                         ::testing::Values(FromDoubleCase{30.04, "30.04"}, FromDoubleCase{12.34, "12.34"},
                                           FromDoubleCase{59.99, "59.99"}, FromDoubleCase{0.1, "0.1"},
                                           FromDoubleCase{0.07, "0.07000000000000001024"},
                                           FromDoubleCase{1234.56, "1234.5599999999997952"},
                                           FromDoubleCase{36.76662445068359375, "36.76662445068359168"},
                                           FromDoubleCase{-30.04, "-30.04"}, FromDoubleCase{0.0, "0"},
                                           FromDoubleCase{-0.0, "0"}, FromDoubleCase{15.36, "15.36"},
                                           FromDoubleCase{18446744073709551616.0, "18446744073709551616"},
                                           FromDoubleCase{1e-300, "0"}),
                         testing_support::PrintedName());

TEST(DecimalFromDouble, OutOfRangeRaisesOverflow) {
    for (double value : {1e300, std::numeric_limits<double>::infinity()}) {
        try {
            (void)ns::decimalFromDouble(value);
            ADD_FAILURE() << "no exception for " << value;
        } catch (const NSException& e) {
            EXPECT_EQ(e.name(), NSDecimalNumberOverflowException);
        }
    }
    EXPECT_TRUE(ns::decimalFromDouble(std::nan("")).isNaN);
}

struct StringCase {
    std::string text;
    std::string expected;
};

void PrintTo(const StringCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class DecimalFromStringTest : public ::testing::TestWithParam<StringCase> {};

TEST_P(DecimalFromStringTest, ReadsExactly) {
    EXPECT_EQ(ns::decimalString(ns::decimalFromString(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalFromStringTest,
    ::testing::Values(StringCase{"30.04", "30.04"}, StringCase{"30.10", "30.1"},
                      StringCase{"-0.007", "-0.007"}, StringCase{"1200", "1200"}, StringCase{"1.5e3", "1500"},
                      StringCase{"25e-3", "0.025"}, StringCase{"  12.50xyz", "12.5"}, StringCase{".5", "0.5"},
                      StringCase{"-0", "0"}, StringCase{"3e", "3"}, StringCase{"abc", "NaN"},
                      StringCase{"-", "NaN"}, StringCase{"1e200", "NaN"}, StringCase{"1e-200", "0"},
                      StringCase{"", "NaN"}, StringCase{" \t", "NaN"},
                      // Longer than 38 digits: rounded, halves away from zero.
                      StringCase{k38Digits + "5", "12345678901234567890123456789012345679"
                                                  "0"},
                      StringCase{k38Digits + "49", k38Digits + "00"}),
    testing_support::PrintedName());

struct SumCase {
    std::string name;
    std::string left;
    std::string right;
    std::string expected;
};

void PrintTo(const SumCase& c, std::ostream* out) {
    *out << c.name;
}

class DecimalAddTest : public ::testing::TestWithParam<SumCase> {};

TEST_P(DecimalAddTest, ExactOrRoundedTo38Digits) {
    const NSDecimal sum =
        ns::decimalAdd(ns::decimalFromString(GetParam().left), ns::decimalFromString(GetParam().right));
    EXPECT_EQ(ns::decimalString(sum), GetParam().expected);
    // Compact: below 10^38, and no trailing zero the exponent could take.
    NSDecimalMantissa limit = 1;
    for (int i = 0; i < ns::kDecimalMaxDigits; ++i) {
        limit *= 10;
    }
    EXPECT_LT(sum.mantissa, limit);
    EXPECT_TRUE(sum.mantissa % 10 != 0 || sum.mantissa == 0 || sum.exponent == ns::kDecimalMaxExponent);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalAddTest,
    ::testing::Values(SumCase{"Simple", "30.04", "30.03", "60.07"},
                      SumCase{"Negative", "1.5", "-2.25", "-0.75"},
                      SumCase{"CancelsToZero", "2.5", "-2.50", "0"},
                      SumCase{"ExactAt38Digits", k38Digits.substr(1) + "0", "8", k38Digits.substr(1) + "8"},
                      SumCase{"CarryIntoDigit39", k38Nines, "1", "1" + std::string(38, '0')},
                      SumCase{"HalfRoundsUp", k38Digits, "0.5", "12345678901234567890123456789012345679"},
                      SumCase{"BelowHalfRoundsDown", k38Digits, "0.4999", k38Digits},
                      SumCase{"NegativeHalfAwayFromZero", "-" + k38Digits, "-0.5",
                              "-12345678901234567890123456789012345679"},
                      // 10^37 - 0.001 has 40 digits, all nines; rounding to 38 carries back up.
                      SumCase{"BorrowThenRound", "1e37", "-0.001", "1" + std::string(37, '0')},
                      SumCase{"FarApartExponents", "1e127", "1e-128", "1" + std::string(127, '0')},
                      SumCase{"NaNPropagates", "abc", "1", "NaN"}),
    [](const auto& info) { return info.param.name; });

TEST(DecimalAdd, OverflowRaises) {
    const NSDecimal largest = ns::decimalFromString(k38Nines + "e127");
    ASSERT_FALSE(largest.isNaN);
    try {
        (void)ns::decimalAdd(largest, largest);
        FAIL() << "no exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), NSDecimalNumberOverflowException);
    }
    // A sum that only needs a larger exponent than its operands' but fits is not an overflow.
    EXPECT_EQ(
        ns::decimalString(ns::decimalAdd(ns::decimalFromString("5e127"), ns::decimalFromString("5e127"))),
        "1" + std::string(128, '0'));
}

TEST(DecimalCompare, OrdersByValue) {
    EXPECT_EQ(ns::decimalCompare(ns::decimalFromString("1.10"), ns::decimalFromString("1.1")), 0);
    EXPECT_EQ(ns::decimalCompare(ns::decimalFromString("-3"), ns::decimalFromString("2")), -1);
    EXPECT_EQ(ns::decimalCompare(ns::decimalFromString("-3"), ns::decimalFromString("-20")), 1);
    EXPECT_EQ(ns::decimalCompare(ns::decimalFromString("1e127"), ns::decimalFromString("1e-128")), 1);
    // Answers are -1, 0 or 1 however far apart the magnitudes, and not a number is below all.
    EXPECT_EQ(ns::decimalCompare(ns::decimalFromString("2"), ns::decimalFromString("3")), -1);
    EXPECT_EQ(ns::decimalCompare(ns::decimalFromString("-2"), ns::decimalFromString("-3")), 1);
    const NSDecimal nan = ns::decimalFromString("abc");
    EXPECT_EQ(ns::decimalCompare(nan, ns::decimalFromString("-1")), -1);
    EXPECT_EQ(ns::decimalCompare(ns::decimalFromString("-1"), nan), 1);
    EXPECT_EQ(ns::decimalCompare(nan, nan), 0);
}

// Random decimals of up to four digits, of either sign (zero and minus zero among them), with
// exponents from -3 to 3: they order as their values do as doubles, which are exact enough here.
TEST(DecimalCompare, AgreesWithTheOrderOfTheirValues) {
    std::mt19937 random(20261209);
    const auto decimal = [&random] {
        const unsigned mantissa = random() % 4 == 0 ? random() % 3 : random() % 10000;
        const int exponent = static_cast<int>(random() % 7) - 3;
        return std::string(random() % 2 == 0 ? "-" : "") + std::to_string(mantissa) + "e" +
               std::to_string(exponent);
    };
    for (int i = 0; i < 2000; ++i) {
        const std::string a = decimal();
        const std::string b = decimal();
        const double x = std::strtod(a.c_str(), nullptr);
        const double y = std::strtod(b.c_str(), nullptr);
        const int expected = x < y ? -1 : x > y ? 1 : 0;
        ASSERT_EQ(ns::decimalCompare(ns::decimalFromString(a), ns::decimalFromString(b)), expected)
            << a << " " << b;
    }
}

TEST(DecimalToDouble, IsTheNearestDouble) {
    EXPECT_EQ(ns::decimalToDouble(ns::decimalFromString("75.43")), 75.43);
    EXPECT_EQ(ns::decimalToDouble(ns::decimalFromString("0.1")), 0.1);
    EXPECT_EQ(ns::decimalToDouble(ns::decimalFromDouble(0.07)), 0.07);
    // Just above the midpoint between 1 and the next double: rounded up, not down to 1.
    EXPECT_EQ(ns::decimalToDouble(ns::decimalFromString("1.000000000000000111022302462515654043")),
              1.0000000000000002);
    EXPECT_TRUE(std::isnan(ns::decimalToDouble(ns::decimalFromString("x"))));
}

class DecimalNumberTest : public ::testing::Test {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

// Summing lap times as the capture does: start from the decimal made from single-precision 0,
// add each double's decimal; the total is the exact decimal sum of the platform's conversions.
TEST_F(DecimalNumberTest, SumsTimesExactly) {
    auto total = NSDecimalNumber::numberWithFloat(0.0f);
    EXPECT_EQ(total->description(), "0");
    for (double lap : {30.04, 30.03, 15.36}) {
        total = total->decimalNumberByAdding(NSDecimalNumber::numberWithDouble(lap));
    }
    EXPECT_EQ(total->description(), "75.43");
    EXPECT_TRUE(total->isEqual(*NSDecimalNumber::decimalNumberWithString("75.430")));
    EXPECT_EQ(total->doubleValue(), 75.43);
    EXPECT_EQ(total->kind(), NSNumber::Kind::Double);
    EXPECT_EQ(std::string(total->isa()->name), "NSDecimalNumber");

    auto noisy = NSDecimalNumber::numberWithDouble(0.07)->decimalNumberByAdding(
        NSDecimalNumber::numberWithDouble(1234.56));
    EXPECT_EQ(noisy->description(), "1234.62999999999979521024");
}

TEST_F(DecimalNumberTest, NilOperandCountsAsZero) {
    const auto value = NSDecimalNumber::decimalNumberWithString("2.5");
    EXPECT_EQ(value->decimalNumberByAdding(nullptr)->description(), "2.5");
    EXPECT_EQ(value->decimalNumberBySubtracting(NSDecimalNumber::decimalNumberWithString("3"))->description(),
              "-0.5");
}

TEST_F(DecimalNumberTest, NumbersGiveTheirDecimalValue) {
    EXPECT_EQ(ns::decimalString(NSNumber::withInteger(-1200)->decimalValue()), "-1200");
    EXPECT_EQ(ns::decimalString(NSNumber::withInteger(INT64_MIN)->decimalValue()), "-9223372036854775808");
    EXPECT_EQ(ns::decimalString(NSNumber::withDouble(30.04)->decimalValue()), "30.04");
    // A single-precision number is widened first, so its binary noise shows.
    EXPECT_EQ(ns::decimalString(NSNumber::withFloat(75.3f)->decimalValue()), "75.30000305175781376");
    const std::shared_ptr<NSNumber> decimal = NSDecimalNumber::decimalNumberWithString("0.1");
    EXPECT_EQ(ns::decimalString(decimal->decimalValue()), "0.1");
    EXPECT_TRUE(std::isnan(NSDecimalNumber::notANumber()->doubleValue()));
    EXPECT_EQ(NSDecimalNumber::notANumber()->description(), "NaN");
}

} // namespace
