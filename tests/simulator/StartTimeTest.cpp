#include "simulator/device/StartTime.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct StartCase {
    const char* text;
    const char* zone;
    std::optional<double> unixSeconds;
};

std::ostream& operator<<(std::ostream& out, const StartCase& c) {
    out << c.text;
    if (*c.zone != '\0') {
        out << " in " << c.zone;
    }
    return out;
}

class StartTimeTable : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartTimeTable, ReadsTheDeviceClock) {
    std::optional<double> read = sim::parseStartTime(GetParam().text, GetParam().zone);
    ASSERT_EQ(read.has_value(), GetParam().unixSeconds.has_value());
    if (read) {
        EXPECT_DOUBLE_EQ(*read, *GetParam().unixSeconds);
    }
}

INSTANTIATE_TEST_SUITE_P(Dates, StartTimeTable,
                         ::testing::Values(StartCase{"2026-12-07T08:00:00Z", "", 1796630400.0},
                                           StartCase{"2026-12-07T08:00Z", "", 1796630400.0},
                                           StartCase{"2026-12-07T08:00:00.25Z", "", 1796630400.25},
                                           StartCase{"2026-12-07T09:00:00+01:00", "", 1796630400.0},
                                           StartCase{"2026-12-07T03:00:00-0500", "", 1796630400.0},
                                           StartCase{"2026-12-07T08:00:00", "", 1796630400.0},
                                           StartCase{"2026-12-07T09:00:00", "Europe/Paris", 1796630400.0},
                                           StartCase{"2026-07-07T10:00:00", "Europe/Paris", 1783411200.0},
                                           StartCase{"2013-03-02T12:00:00Z", "Europe/Paris", 1362225600.0},
                                           StartCase{"2024-02-29T00:00:00Z", "", 1709164800.0},
                                           StartCase{"2023-02-29T00:00:00Z", "", std::nullopt},
                                           StartCase{"2026-13-01T00:00:00Z", "", std::nullopt},
                                           StartCase{"2026-12-07T24:00:00Z", "", std::nullopt},
                                           StartCase{"2026-12-07", "", std::nullopt},
                                           StartCase{"yesterday", "", std::nullopt},
                                           StartCase{"2026-12-07T08:00:00Zjunk", "", std::nullopt},
                                           StartCase{"2026-12-07T08:00:00", "Mars/Olympus", std::nullopt}),
                         testing_support::PrintedName());

TEST(StartTimeZones, KnowsTheZoneNames) {
    EXPECT_TRUE(sim::isKnownTimeZone("UTC"));
    EXPECT_TRUE(sim::isKnownTimeZone("America/Los_Angeles"));
    EXPECT_FALSE(sim::isKnownTimeZone("Nowhere/Special"));
}

} // namespace
