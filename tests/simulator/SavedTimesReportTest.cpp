#include "simulator/times/SavedTimesReport.h"

#include "simulator/times/ShortestNumber.h"

#include "platform/foundation/Region.h"
#include "platform/runtime/Runtime.h"
#include "tests/support/CaseName.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using testing_support::TemporaryDirectory;

// A float as the double its shortest decimal reads as: what the JSON library's tree holds for a
// time, whose writer prints the shortest form of a double.
double shortestDouble(float value) {
    char text[32];
    double widened = static_cast<double>(value);
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error == std::errc{}) {
        std::from_chars(text, end, widened);
    }
    return widened;
}

// The export built as the JSON library's tree, keys in the documented order: the oracle of the
// text the export writes directly.
nlohmann::ordered_json exportJson(const sim::SavedTimesReport& report) {
    using Json = nlohmann::ordered_json;
    Json sections = Json::array();
    for (const auto& section : report.sections) {
        Json records = Json::array();
        for (const auto& record : section.records) {
            Json laps = Json::array();
            for (float lap : record.laps) {
                laps.push_back(shortestDouble(lap));
            }
            records.push_back({{"total", shortestDouble(record.total)},
                               {"total_text", record.totalText},
                               {"date", record.date ? Json(*record.date) : Json(nullptr)},
                               {"date_text", record.dateText ? Json(*record.dateText) : Json(nullptr)},
                               {"last_lap", shortestDouble(record.lastLap)},
                               {"laps", laps},
                               {"lap_texts", record.lapTexts}});
        }
        sections.push_back({{"name", section.name}, {"records", records}});
    }
    return {{"sections", sections}};
}

// Writes a saved-times file with Python's plistlib, the independent writer: laps as the
// single-precision values widened (as the phone stores them) and the totals of the clock-text
// table.
bool writeWithPlistlib(const std::string& path, const char* format) {
    const std::string script = std::string(R"PY(
import plistlib, struct, sys, datetime
f32 = lambda v: struct.unpack('f', struct.pack('f', v))[0]
totals = [0, 0.04, 5.3, 9.96, 45.25, 59.9, 59.96, 60.0, 65.3, 69.96, 75.36, 125.0, 599.9, 600.0,
          605.3, 3599.9, 3600.0, 3605.3, 3665.3, 4325.7, 36005.3, 86399.9, 0.15, 10.15]
laps = [0.9, 9.9, 13.0, 45.2, 75.3, 119.9, 3605.3]
records = [{"Total Time": t, "Last Lap": f32(laps[-1]), "All Laps": [f32(v) for v in laps],
            "Date": datetime.datetime(2013, 1, 8, 12, 0, 0)} for t in totals]
data = {"Sections": ["Default", "Empty"], "Times - Default": records, "Times - Empty": [], "Other": 1}
with open(sys.argv[1], "wb") as out:
    plistlib.dump(data, out, fmt=plistlib.)PY") +
                               format + R"PY()
)PY";
    const std::string scriptPath = path + ".py";
    FILE* file = std::fopen(scriptPath.c_str(), "w");
    if (file == nullptr) {
        return false;
    }
    std::fputs(script.c_str(), file);
    std::fclose(file);
    const std::string command = "python3 " + scriptPath + " " + path;
    return std::system(command.c_str()) == 0;
}

class SavedTimesReportTest : public ::testing::TestWithParam<const char*> {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    TemporaryDirectory folder;
    ns::Region::Scope region{ns::Region{"en_US", "UTC"}};
};

TEST_P(SavedTimesReportTest, AFileWrittenByPlistlibShowsTheClockTextsOfEveryTotalAndLap) {
    const std::string path = folder.path() + "/times.plist";
    if (!writeWithPlistlib(path, GetParam())) {
        FAIL() << "python3 with plistlib is not available (scripts/install-deps installs it)";
    }
    auto report = sim::readSavedTimesReport(path);
    ASSERT_EQ(report.status, sim::SavedTimesReport::Status::Ok) << report.reason;
    ASSERT_EQ(report.sections.size(), 2U);
    EXPECT_EQ(report.sections[1].name, "Empty");
    EXPECT_TRUE(report.sections[1].records.empty());

    const std::vector<std::string> expectedTotals = {
        "0.0",     "0.0",     "5.3",       "10.0",      "45.2",    "59.9",       "01:0.0",  "01:0.0",
        "01:05.3", "01:10.0", "01:15.4",   "02:05.0",   "09:59.9", "10:0.0",     "10:05.3", "59:59.9",
        "1:0.0",   "1:5.3",   "1:01:05.3", "1:12:05.7", "10:5.3",  "23:59:59.9", "0.2",     "10.1"};
    const auto& records = report.sections[0].records;
    ASSERT_EQ(records.size(), expectedTotals.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].totalText, "Time: " + expectedTotals[i]) << "record " << i;
        EXPECT_EQ(records[i].lapTexts,
                  (std::vector<std::string>{"0.9", "9.9", "13.0", "45.2", "01:15.3", "01:59.9", "1:5.3"}));
        EXPECT_EQ(records[i].date, "2013-01-08T12:00:00Z");
        EXPECT_EQ(records[i].dateText, "Tue, Jan 8, 2013");
    }

    auto json = exportJson(report);
    EXPECT_EQ(sim::exportJsonText(report), json.dump());
    const auto& first = json["sections"][0]["records"][10];
    EXPECT_EQ(first["total_text"], "Time: 01:15.4");
    EXPECT_EQ(first["laps"][4].get<double>(), 75.3);
    EXPECT_EQ(first["last_lap"].get<double>(), 3605.3);
    EXPECT_EQ(first["lap_texts"][4], "01:15.3");
    EXPECT_EQ(json["sections"][1]["records"].size(), 0U);
}

INSTANTIATE_TEST_SUITE_P(Formats, SavedTimesReportTest, ::testing::Values("FMT_XML", "FMT_BINARY"),
                         testing_support::PrintedName());

TEST(SavedTimesReport, ASectionWithoutItsRecordsKeyListsNoRecords) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    TemporaryDirectory folder;
    // The loop over such a section's records once ran over an array that was already freed.
    const std::string path = folder.path() + "/times.plist";
    testing_support::writeWholeFile(path, "<plist><dict><key>Sections</key><array><string>Lost</string>"
                                          "<string>Also lost</string></array></dict></plist>");
    const auto report = sim::readSavedTimesReport(path);
    ASSERT_EQ(report.status, sim::SavedTimesReport::Status::Ok);
    EXPECT_EQ(sim::listText(report), "Lost (0 records)\nAlso lost (0 records)\n");
}

TEST(SavedTimesReport, TheDateIsTheFilesOwnTextInUtcAcrossTheYears) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    ns::Region::Scope region{ns::Region{"en_US", "America/New_York"}};
    TemporaryDirectory folder;
    const std::vector<std::string> dates{"0001-01-01T00:00:00Z", "1600-02-29T23:59:59Z",
                                         "1969-12-31T23:59:59Z", "1970-01-01T00:00:00Z",
                                         "2024-02-29T05:00:00Z", "9999-12-31T23:59:59Z"};
    std::string records;
    for (const auto& date : dates) {
        records += "<dict><key>Date</key><date>" + date +
                   "</date><key>Total Time</key><real>1</real><key>Last Lap</key><real>1</real>"
                   "<key>All Laps</key><array><real>1</real></array></dict>";
    }
    const std::string path = folder.path() + "/times.plist";
    testing_support::writeWholeFile(path,
                                    "<plist><dict><key>Sections</key><array><string>Default</string></array>"
                                    "<key>Times - Default</key><array>" +
                                        records + "</array></dict></plist>");
    const auto report = sim::readSavedTimesReport(path);
    ASSERT_EQ(report.status, sim::SavedTimesReport::Status::Ok);
    ASSERT_EQ(report.sections.size(), 1U);
    std::vector<std::string> reported;
    for (const auto& record : report.sections[0].records) {
        reported.push_back(record.date.value_or("(none)"));
    }
    EXPECT_EQ(reported, dates);
    // The text under the region is the local day: New York is still on the 31st at midnight UTC.
    EXPECT_EQ(report.sections[0].records[3].dateText, "Wed, Dec 31, 1969");
}

TEST(SavedTimesReport, AFifoAtThePathIsReportedAtOnce) {
    TemporaryDirectory folder;
    const std::string path = folder.path() + "/times.plist";
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EXPECT_EXIT(
        {
            ::alarm(2);
            rt::Runtime runtime;
            rt::Runtime::Scope scope{runtime};
            std::_Exit(
                sim::readSavedTimesReport(path).status == sim::SavedTimesReport::Status::Unreadable ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(SavedTimesReport, MissingAndUnreadableFilesAreToldApart) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    TemporaryDirectory folder;
    EXPECT_EQ(sim::readSavedTimesReport(folder.path() + "/none.plist").status,
              sim::SavedTimesReport::Status::Missing);
    testing_support::writeWholeFile(folder.path() + "/bad.plist", "<plist><dict>");
    auto report = sim::readSavedTimesReport(folder.path() + "/bad.plist");
    EXPECT_EQ(report.status, sim::SavedTimesReport::Status::Unreadable);
    EXPECT_FALSE(report.reason.empty());
    EXPECT_EQ(testing_support::readWholeFile(folder.path() + "/bad.plist"), "<plist><dict>");
    EXPECT_EQ(sim::listText(sim::SavedTimesReport{}), "No saved times.\n");
}

// The export's text is written without the JSON library's tree: it must be the tree's dump()
// byte for byte, whatever the names, texts and numbers hold.
TEST(SavedTimesReport, ExportTextIsTheDocumentsDumpByteForByte) {
    sim::SavedTimesReport report;
    report.status = sim::SavedTimesReport::Status::Ok;
    const float numbers[] = {0.0F,   -0.0F, 75.3F,        1e-7F, 3.4e38F,
                             -12.5F, 1e20F, 123456789.0F, 0.1F,  16777217.0F};
    for (const std::string name : {"Default", "", "Q\"uote\\slash", "tab\tline\ncr\r\x01\x1F\x7F",
                                   "caf\xC3\xA9 \xF0\x9F\x98\x80", "/<>&'"}) {
        sim::ReportedSection section{name, {}};
        for (std::size_t i = 0; i < 4; ++i) {
            sim::ReportedRecord record;
            record.total = numbers[i * 2];
            record.totalText = "Time: " + name;
            record.lastLap = numbers[i * 2 + 1];
            if (i % 2 == 0) {
                record.date = "2013-01-08T12:00:00Z";
                record.dateText = name + " Jan 8";
            }
            for (std::size_t lap = 0; lap < i * 3; ++lap) {
                record.laps.push_back(numbers[(lap + i) % std::size(numbers)]);
                record.lapTexts.push_back(lap % 2 == 0 ? name : "01:15.3");
            }
            section.records.push_back(record);
        }
        report.sections.push_back(section);
    }
    report.sections.push_back({"No records", {}});
    EXPECT_EQ(sim::exportJsonText(report), exportJson(report).dump());
    EXPECT_EQ(sim::exportJsonText(sim::SavedTimesReport{}), exportJson(sim::SavedTimesReport{}).dump());
}

} // namespace

namespace {

std::string jsonNumber(float value) {
    char text[sim::kJsonNumberTextSize];
    return {text, sim::jsonNumberText(value, text)};
}

// A single-precision number in the export is its shortest decimal in the JSON library's layout.
// Over floats of every exponent (random bits, seeded by the test's name), the text reads back as
// the same float and as the same double as the library's text of shortestDouble, and is that very
// text except where the library's is longer.
TEST(JsonNumberText, IsTheShortestDecimalInTheLibrarysLayout) {
    std::mt19937 random(static_cast<std::uint32_t>(
        std::hash<std::string_view>{}("JsonNumberText.IsTheShortestDecimalInTheLibrarysLayout")));
    std::size_t shorter = 0;
    for (int trial = 0; trial < 200000; ++trial) {
        const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        if (!std::isfinite(value)) {
            continue;
        }
        const std::string ours = jsonNumber(value);
        char library[64];
        const std::string theirs(
            library, nlohmann::detail::to_chars(library, library + sizeof library, shortestDouble(value)));
        float asFloat = 0;
        std::from_chars(ours.data(), ours.data() + ours.size(), asFloat);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(asFloat), std::bit_cast<std::uint32_t>(value)) << ours;
        if (ours != theirs) {
            double a = 0;
            double b = 0;
            std::from_chars(ours.data(), ours.data() + ours.size(), a);
            std::from_chars(theirs.data(), theirs.data() + theirs.size(), b);
            ASSERT_EQ(a, b) << ours << " against " << theirs;
            ASSERT_LT(ours.size(), theirs.size()) << ours << " against " << theirs;
            ++shorter;
        }
    }
    EXPECT_GT(shorter, 0U) << "the library's longer texts were met";
    EXPECT_EQ(jsonNumber(0.01002092F), "0.01002092") << "the library writes 0.010020919999999999";
    for (const auto& [value, text] :
         std::vector<std::pair<float, std::string>>{{30.0F, "30.0"},
                                                    {-0.0F, "-0.0"},
                                                    {15.3F, "15.3"},
                                                    {0.0001F, "0.0001"},
                                                    {1e-5F, "1e-05"},
                                                    {-2.5e-7F, "-2.5e-07"},
                                                    {33871888.0F, "33871888.0"},
                                                    {1e16F, "1e+16"},
                                                    {3.4028235e38F, "3.4028235e+38"},
                                                    {1e-45F, "1e-45"}}) {
        EXPECT_EQ(jsonNumber(value), text);
    }
}

} // namespace
