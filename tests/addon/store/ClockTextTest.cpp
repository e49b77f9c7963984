#include "addon/store/ClockText.h"
#include "addon/store/TenthsTruncation.h"
#include "platform/foundation/NumberScanning.h"
#include "platform/foundation/StringFormat.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <limits>
#include <random>
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

// The display's steps exactly as they read with printf and the scanner; clockText makes its
// texts without either and must give the same characters for every time.
std::string printedAndScannedClockText(float seconds) {
    const auto beforePoint = [](const std::string& printed) { return printed.substr(0, printed.find('.')); };
    const float x = ns::scanFloat(ns::format("%.1f", seconds));
    const float minutesQuotient = x / 60.0F;
    const float m = ns::scanFloat(beforePoint(ns::format("%f", minutesQuotient)));
    const float hoursQuotient = m / 60.0F;
    const double h = std::trunc(ns::scanDouble(beforePoint(ns::format("%f", hoursQuotient))));
    const float hourMinutes = static_cast<float>(60.0 * h);
    const float mm = m - hourMinutes;
    const float minuteSeconds = 60.0F * m;
    const float s = x - minuteSeconds;
    std::string text;
    if (h >= 1) {
        text += ns::format("%.0f:", h);
    }
    const bool padSeconds = s > 0 && s < 10;
    if (mm > 0 && mm < 10) {
        text += ns::format("0%.f:", mm);
        text += padSeconds ? "0" : "";
    } else if (mm > 9) {
        text += ns::format("%.f:", mm);
        text += padSeconds ? "0" : "";
    }
    text += ns::format("%.1f", s);
    return text;
}

// Every hundredth of a second up to an hour (ties of the tenths rounding, minute and hour
// carries), the neighbours of each tenth up to a day, and random bit patterns over the whole
// range: infinities, NaNs, negatives, subnormals, huge values.
TEST(ClockText, GivesThePrintedAndScannedTextForEveryKindOfTime) {
    std::vector<float> times;
    for (int hundredths = 0; hundredths <= 3600 * 100 + 100; hundredths += 1) {
        times.push_back(static_cast<float>(hundredths) / 100.0F);
    }
    for (int tenths = 0; tenths <= 86400 * 10; tenths += 7) {
        const float tenth = static_cast<float>(tenths) / 10.0F;
        times.push_back(std::nextafter(tenth, 0.0F));
        times.push_back(std::nextafter(tenth, 1e9F));
        times.push_back(tenth + 0.05F);
        times.push_back(-tenth);
    }
    std::mt19937 random(12);
    for (int i = 0; i < 200000; ++i) {
        times.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
    }
    for (const float special :
         {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
          std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(),
          std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest(),
          std::numeric_limits<float>::denorm_min(), -0.0F, 59.95F, 3599.95F,
          // Where the text stops being made from whole numbers of tenths and millionths.
          1e12F, -1e12F, std::nextafter(1e12F, 0.0F), std::nextafter(1e12F, 2e12F)}) {
        times.push_back(special);
    }
    int mismatches = 0;
    for (const float time : times) {
        const std::string expected = printedAndScannedClockText(time);
        if (lv::clockText(time) != expected && ++mismatches <= 10) {
            ADD_FAILURE() << std::setprecision(9) << time << " (bits " << std::bit_cast<std::uint32_t>(time)
                          << ") shows " << lv::clockText(time) << ", expected " << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
