#include "addon/store/ClockText.h"
#include "addon/store/TenthsTruncation.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <limits>
#include <string>

namespace {

struct TextCase {
    float time;
    std::string text;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.time << " shows " << c.text;
}

class ClockTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ClockTextTest, TotalTimes) {
    EXPECT_EQ(lv::clockText(GetParam().time), GetParam().text);
    EXPECT_EQ(lv::totalText(GetParam().time), "Time: " + GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Totals, ClockTextTest,
                         ::testing::Values(TextCase{0.0F, "0.0"}, TextCase{0.04F, "0.0"},
                                           TextCase{5.3F, "5.3"}, TextCase{9.96F, "10.0"},
                                           // An exact tie at double precision goes to the even neighbour.
                                           TextCase{45.25F, "45.2"}, TextCase{59.9F, "59.9"},
                                           TextCase{59.96F, "01:0.0"}, TextCase{60.0F, "01:0.0"},
                                           TextCase{65.3F, "01:05.3"}, TextCase{69.96F, "01:10.0"},
                                           TextCase{75.36F, "01:15.4"}, TextCase{125.0F, "02:05.0"},
                                           TextCase{599.9F, "09:59.9"}, TextCase{600.0F, "10:0.0"},
                                           TextCase{605.3F, "10:05.3"}, TextCase{3599.9F, "59:59.9"},
                                           TextCase{3600.0F, "1:0.0"}, TextCase{3605.3F, "1:5.3"},
                                           TextCase{3665.3F, "1:01:05.3"}, TextCase{4325.7F, "1:12:05.7"},
                                           TextCase{36005.3F, "10:5.3"}, TextCase{86399.9F, "23:59:59.9"},
                                           // Ties are decided by the single-precision value: 0.150000006 and
                                           // 10.1499996 (at double precision they would print 0.1 and 10.2).
                                           TextCase{0.15F, "0.2"}, TextCase{10.15F, "10.1"}),
                         testing_support::PrintedName());

// Hours beyond the int range: the steps stay in single precision as for any time, and the whole
// hours are counted wide enough that nothing overflows (they used to wrap into a minutes field
// of 4294967296).
INSTANTIATE_TEST_SUITE_P(
    Huge, ClockTextTest,
    ::testing::Values(TextCase{7730941132800.0F, "2147483648:0.0"}, TextCase{1.3e11F, "36111112:0.0"},
                      TextCase{3.4028234663852886e38F, "94522872085553953757753833351544832:0.0"}),
    testing_support::PrintedName());

class LapTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(LapTextTest, StoredLaps) {
    EXPECT_EQ(lv::lapText(GetParam().time), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Laps, LapTextTest,
                         ::testing::Values(TextCase{0.9F, "0.9"}, TextCase{9.9F, "9.9"},
                                           TextCase{13.0F, "13.0"}, TextCase{45.2F, "45.2"},
                                           TextCase{75.3F, "01:15.3"}, TextCase{119.9F, "01:59.9"},
                                           TextCase{3605.3F, "1:5.3"}),
                         testing_support::PrintedName());

struct TruncationCase {
    double time;
    float cut;
};

void PrintTo(const TruncationCase& c, std::ostream* out) {
    *out << std::setprecision(10) << c.time << std::setprecision(6) << " cuts to " << c.cut;
}

class TenthsTruncationTest : public ::testing::TestWithParam<TruncationCase> {};

TEST_P(TenthsTruncationTest, CutsTowardZeroAfterSixDecimals) {
    EXPECT_EQ(lv::tenthsTruncation(GetParam().time), GetParam().cut);
}

INSTANTIATE_TEST_SUITE_P(Table, TenthsTruncationTest,
                         ::testing::Values(TruncationCase{75.36, 75.3F}, TruncationCase{9.96, 9.9F},
                                           TruncationCase{0.04, 0.0F}, TruncationCase{12.9999996, 13.0F},
                                           TruncationCase{12.99999949, 12.9F}, TruncationCase{30.04, 30.0F},
                                           TruncationCase{15.36, 15.3F}, TruncationCase{0.0, 0.0F},
                                           TruncationCase{3605.35, 3605.3F},
                                           TruncationCase{86399.99, 86399.9F}),
                         testing_support::PrintedName());

TEST(TenthsTruncation, ValuesWithoutAPointReadAsZero) {
    EXPECT_EQ(lv::tenthsTruncation(std::numeric_limits<double>::infinity()), 0.0F);
    EXPECT_EQ(lv::tenthsTruncation(std::numeric_limits<double>::quiet_NaN()), 0.0F);
}

// A result with finished laps 30.04 and 30.03 and a current lap of 15.36: the laps are cut at
// capture, the total (75.43) is rounded when shown, so the texts need not add up.
TEST(ClockText, TotalIsRoundedWhileLapsWereCut) {
    EXPECT_EQ(lv::totalText(static_cast<float>(75.43)), "Time: 01:15.4");
    std::string laps;
    for (double lap : {30.04, 30.03, 15.36}) {
        laps += lv::lapText(lv::tenthsTruncation(lap)) + " ";
    }
    EXPECT_EQ(laps, "30.0 30.0 15.3 ");
}

} // namespace
