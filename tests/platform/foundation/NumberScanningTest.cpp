#include "platform/foundation/NumberScanning.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct DoubleCase {
    std::string text;
    double expected;
};

void PrintTo(const DoubleCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ScanDoubleTest : public ::testing::TestWithParam<DoubleCase> {};

TEST_P(ScanDoubleTest, ReadsAsThePlatformDoes) {
    EXPECT_EQ(ns::scanDouble(GetParam().text), GetParam().expected) << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScanDoubleTest,
    ::testing::Values(DoubleCase{"75.3", 75.3}, DoubleCase{"  \t\n 12.5", 12.5}, DoubleCase{"12.5abc", 12.5},
                      DoubleCase{"1e3", 1000.0}, DoubleCase{"-0.25", -0.25}, DoubleCase{"+7", 7.0},
                      DoubleCase{".5", 0.5}, DoubleCase{"1.2.3", 1.2}, DoubleCase{"3e", 3.0},
                      DoubleCase{"12,5", 12.0}, DoubleCase{"", 0.0}, DoubleCase{"abc", 0.0},
                      DoubleCase{"e5", 0.0}, DoubleCase{"inf", 0.0}, DoubleCase{"nan", 0.0},
                      DoubleCase{"0x1A", 0.0}, DoubleCase{"--5", 0.0}, DoubleCase{"1-2", 1.0},
                      // Blanks the platform skips beyond ASCII space: controls, DEL, no-break
                      // space, the U+2000 block and the ideographic space.
                      DoubleCase{"\x01\x7f"
                                 "4.5",
                                 4.5},
                      DoubleCase{"\xc2\xa0"
                                 "4.5",
                                 4.5},
                      DoubleCase{"\xe2\x80\x8b"
                                 "4.5",
                                 4.5},
                      DoubleCase{"\xe3\x80\x80"
                                 "4.5",
                                 4.5},
                      // The first and last of the C1 block.
                      DoubleCase{"\xc2\x80"
                                 "4.5",
                                 4.5},
                      DoubleCase{"\xc2\xa0\xc2\x9f"
                                 "4.5",
                                 4.5},
                      // An ideographic space cut short at the end is no blank.
                      DoubleCase{"\xe3\x80", 0.0},
                      // U+00A1 and U+200C are not blanks, so nothing is read.
                      DoubleCase{"\xc2\xa1"
                                 "4.5",
                                 0.0},
                      DoubleCase{"\xe2\x80\x8c"
                                 "4.5",
                                 0.0}),
    testing_support::PrintedName());

TEST(ScanDouble, OverflowGivesHugeValue) {
    EXPECT_EQ(ns::scanDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(ns::scanDouble("-1e999"), -HUGE_VAL);
}

TEST(ScanFloat, NarrowsTheDouble) {
    EXPECT_EQ(ns::scanFloat("10.15"), static_cast<float>(10.15));
    EXPECT_EQ(ns::scanFloat("0.15"), 0.15f);
}

struct IntCase {
    std::string text;
    int expected;
};

void PrintTo(const IntCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ScanIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ScanIntTest, ReadsAsThePlatformDoes) {
    EXPECT_EQ(ns::scanInt(GetParam().text), GetParam().expected) << "text: \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Table, ScanIntTest,
                         ::testing::Values(IntCase{"42", 42}, IntCase{"  42", 42}, IntCase{"12.7", 12},
                                           IntCase{"3e2", 3}, IntCase{"-17", -17}, IntCase{"- 17", -17},
                                           IntCase{"+ 5x", 5}, IntCase{"", 0}, IntCase{"x1", 0},
                                           IntCase{"-", 0}, IntCase{"2147483647", 2147483647},
                                           IntCase{"2147483648", 2147483647},
                                           IntCase{"-2147483648", -2147483647 - 1},
                                           IntCase{"-99999999999999999999", -2147483647 - 1},
                                           IntCase{"\xc2\xa0"
                                                   "8",
                                                   8}),
                         testing_support::PrintedName());

} // namespace
