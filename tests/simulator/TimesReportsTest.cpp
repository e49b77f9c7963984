// `lapvane times export --format csv`, `times stats` and `times check` on inline files: the CSV
// read back by Python's csv module, statistics against a computation by hand, and a catalogue
// of flawed files for the check.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/CaseName.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using testing_support::runLapvane;
using Json = nlohmann::json;

std::string plistFile(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n" +
           body + "</dict>\n</plist>\n";
}

// A record with these laps (reals as written), total and date; its last lap is the first one.
std::string record(const std::vector<std::string>& laps, const std::string& total,
                   const std::string& date = "2013-03-02T13:01:11Z") {
    std::string text = "<dict><key>All Laps</key><array>";
    for (const auto& lap : laps) {
        text += "<real>" + lap + "</real>";
    }
    text += "</array><key>Date</key><date>" + date + "</date><key>Last Lap</key><real>" +
            (laps.empty() ? "0" : laps.front()) + "</real><key>Total Time</key><real>" + total +
            "</real></dict>";
    return text;
}

std::string sections(const std::vector<std::string>& names) {
    std::string text = "<key>Sections</key><array>";
    for (const auto& name : names) {
        text += "<string>" + name + "</string>";
    }
    return text + "</array>\n";
}

std::string recordsOf(const std::string& name, const std::vector<std::string>& records) {
    std::string text = "<key>Times - " + name + "</key><array>";
    for (const auto& r : records) {
        text += r;
    }
    return text + "</array>\n";
}

class TimesReports : public ::testing::Test {
  protected:
    std::string write(const std::string& body) { return save("saved.plist", plistFile(body)); }
    std::string save(const std::string& name, const std::string& content) {
        std::string path = folder.file(name);
        testing_support::writeWholeFile(path, content);
        return path;
    }
    // `lapvane times ARGUMENTS --file FILE`, dates in English and UTC where the command has them.
    testing_support::ProgramRun times(const std::vector<std::string>& arguments, const std::string& file) {
        std::vector<std::string> all = {"times"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        all.insert(all.end(), {"--file", file});
        if (arguments[0] != "check") {
            all.insert(all.end(), {"--tz", "UTC", "--locale", "en_US"});
        }
        return runLapvane(all);
    }
    testing_support::TemporaryDirectory folder;
};

TEST_F(TimesReports, TheCsvOfTrickySectionNamesReadsBackWithPythonsCsvModule) {
    const std::vector<std::string> names = {"Runs, \"fast\"", "Line\nbreak", "Z\u00fcrich \u23f1", "Plain"};
    std::string body = sections({"Runs, \"fast\"", "Line\nbreak", "Z\u00fcrich \u23f1", "Plain"});
    body += recordsOf(names[0], {record({"30.0", "30.0", "15.300000190734863"}, "75.43"), record({}, "5")});
    body += recordsOf(names[1], {record({"42.5"}, "42.5", "2026-12-07T23:59:59Z")});
    body += recordsOf(names[2], {record({"0.9"}, "0.95")});
    std::string file = write(body);

    auto run = times({"export", "--format", "csv"}, file);
    ASSERT_EQ(run.status, 0) << run.err;
    std::string csv = save("saved.csv", run.out);
    std::string script = save("read.py", R"(import csv, json, sys
with open(sys.argv[1], newline='', encoding='utf-8') as f:
    print(json.dumps(list(csv.reader(f))))
)");
    std::string output = folder.file("rows.json");
    ASSERT_EQ(std::system(("python3 '" + script + "' '" + csv + "' > '" + output + "'").c_str()), 0)
        << "python3 is needed (scripts/install-deps installs it)";
    Json rows = Json::parse(testing_support::readWholeFile(output));
    Json expected = {
        {"section", "position", "date", "date_text", "total", "total_text", "lap_count", "laps"},
        {names[0], "1", "2013-03-02T13:01:11Z", "Sat, Mar 2, 2013", "75.43", "Time: 01:15.4", "3",
         "30;30;15.3"},
        {names[0], "2", "2013-03-02T13:01:11Z", "Sat, Mar 2, 2013", "5", "Time: 5.0", "0", ""},
        {names[1], "1", "2026-12-07T23:59:59Z", "Mon, Dec 7, 2026", "42.5", "Time: 42.5", "1", "42.5"},
        {names[2], "1", "2013-03-02T13:01:11Z", "Sat, Mar 2, 2013", "0.95", "Time: 0.9", "1", "0.9"},
    };
    EXPECT_EQ(rows, expected) << run.out;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              "section,position,date,date_text,total,total_text,lap_count,laps\r\n");
}

// Laps chosen so that every sum and mean is exact in binary; the texts follow the clock text's
// steps by hand (60.25 prints as 60.2: an exact tie goes to the even neighbour).
TEST_F(TimesReports, StatsAgreeWithAComputationByHand) {
    std::string body = sections({"Track", "Empty"});
    body += recordsOf("Track", {record({"62.5", "58.0", "60.5"}, "181"), record({"59.5", "61.0"}, "120.5"),
                                record({}, "10")});
    std::string file = write(body);

    auto run = times({"stats", "--format", "json"}, file);
    ASSERT_EQ(run.status, 0) << run.err;
    // The keys come in the documented order.
    EXPECT_EQ(
        run.out.rfind(R"({"sections":[{"name":"Track","count":3,"best_total":10.0,"best_total_text":"10.0",)"
                      R"("worst_total":181.0,"worst_total_text":"03:01.0","average_total":)",
                      0),
        0U)
        << run.out;
    EXPECT_NE(
        run.out.find(R"("records":[{"position":1,"total":181.0,"total_text":"Time: 03:01.0","lap_count":3,)"
                     R"("fastest_lap":58.0,"fastest_lap_text":"58.0","slowest_lap":62.5,)"),
        std::string::npos)
        << run.out;
    Json stats = Json::parse(run.out);
    ASSERT_EQ(stats["sections"].size(), 2U);
    const Json& track = stats["sections"][0];
    EXPECT_EQ(track["count"], 3);
    EXPECT_EQ(track["best_total"], 10.0);
    EXPECT_EQ(track["best_total_text"], "10.0");
    EXPECT_EQ(track["worst_total"], 181.0);
    EXPECT_EQ(track["worst_total_text"], "03:01.0");
    EXPECT_NEAR(track["average_total"].get<double>(), 311.5 / 3, 1e-4);
    EXPECT_EQ(track["average_total_text"], "01:43.8");

    const Json& first = track["records"][0];
    EXPECT_EQ(first["position"], 1);
    EXPECT_EQ(first["lap_count"], 3);
    EXPECT_EQ(first["fastest_lap"], 58.0);
    EXPECT_EQ(first["slowest_lap"], 62.5);
    EXPECT_NEAR(first["average_lap"].get<double>(), 181.0 / 3, 1e-4);
    EXPECT_EQ(first["average_lap_text"], "01:00.3");
    EXPECT_EQ(first["splits"], Json({62.5, 120.5, 181.0}));
    EXPECT_EQ(first["split_texts"], Json({"01:02.5", "02:00.5", "03:01.0"}));

    const Json& second = track["records"][1];
    EXPECT_EQ(second["average_lap"], 60.25);
    EXPECT_EQ(second["average_lap_text"], "01:00.2");
    EXPECT_EQ(second["split_texts"], Json({"59.5", "02:00.5"}));

    const Json& lapless = track["records"][2];
    EXPECT_EQ(lapless["fastest_lap"], nullptr);
    EXPECT_EQ(lapless["average_lap_text"], nullptr);
    EXPECT_EQ(lapless["splits"], Json::array());

    const Json& empty = stats["sections"][1];
    EXPECT_EQ(empty["count"], 0);
    EXPECT_EQ(empty["best_total"], nullptr);

    auto text = times({"stats", "--section", "Track"}, file);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, "Track (3 records)  best 10.0  worst 03:01.0  average 01:43.8\n"
                        "  1. Time: 03:01.0  Sat, Mar 2, 2013  Laps: 3\n"
                        "     fastest 58.0  slowest 01:02.5  average 01:00.3\n"
                        "     splits 01:02.5 02:00.5 03:01.0\n"
                        "  2. Time: 02:00.5  Sat, Mar 2, 2013  Laps: 2\n"
                        "     fastest 59.5  slowest 01:01.0  average 01:00.2\n"
                        "     splits 59.5 02:00.5\n"
                        "  3. Time: 10.0  Sat, Mar 2, 2013  Laps: 0\n");

    auto unknown = times({"stats", "--section", "Nope"}, file);
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("no section named \"Nope\""), std::string::npos) << unknown.err;
}

struct FlawedFile {
    const char* name;
    std::string body;
    std::string finding;
};
void PrintTo(const FlawedFile& c, std::ostream* os) {
    *os << c.name;
}

const std::string kGood = record({"30.0"}, "30");

class TimesCheck : public TimesReports, public ::testing::WithParamInterface<FlawedFile> {};

TEST_P(TimesCheck, FindsThePlantedProblemAndNothingElse) {
    std::string file = write(GetParam().body);
    std::string before = testing_support::readWholeFile(file);
    auto run = times({"check"}, file);
    EXPECT_EQ(run.status, 1) << run.out;
    std::string findings = run.out.substr(0, run.out.find("layout: "));
    EXPECT_EQ(findings, GetParam().finding + "\n");
    EXPECT_NE(run.out.find(": 1 problem found.\n"), std::string::npos) << run.out;
    EXPECT_EQ(testing_support::readWholeFile(file), before) << "check never writes";
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, TimesCheck,
    ::testing::Values(
        FlawedFile{"section_name_not_a_string",
                   "<key>Sections</key><array><string>A</string><integer>3</integer></array>" +
                       recordsOf("A", {kGood}),
                   R"(["Sections"][1]: a number, not a section name (skipped, and kept in the list))"},
        FlawedFile{
            "section_listed_twice", sections({"A", "B", "A"}) + recordsOf("A", {kGood}),
            R"(["Sections"][2]: "A" is listed twice (first at ["Sections"][0]); its records show twice)"},
        FlawedFile{"list_key_without_a_section",
                   sections({"A"}) + recordsOf("A", {kGood}) + recordsOf("Gone", {kGood}),
                   R"(["Times - Gone"]: no section "Gone" in the section list (its records are not shown))"},
        FlawedFile{
            "section_list_not_an_array", "<key>Sections</key><string>A</string>",
            R"(["Sections"]: a string, not an array of names (read as missing and kept: nothing is written until it is repaired))"},
        FlawedFile{"section_list_missing", recordsOf("Default", {kGood}),
                   R"(["Sections"]: missing (the Saved tab starts a new list with "Default"))"},
        FlawedFile{
            "records_not_an_array", sections({"A"}) + "<key>Times - A</key><dict/>",
            R"(["Times - A"]: a dictionary, not an array of records (shown as none and kept: a capture or a move into it writes nothing))"},
        FlawedFile{
            "record_not_a_dictionary", sections({"A"}) + recordsOf("A", {kGood, "<string>x</string>"}),
            R"(["Times - A"][1]: a string, not a record (read as a record without values: Time: 0.0, no laps))"},
        FlawedFile{"total_a_string",
                   sections({"A"}) +
                       recordsOf("A", {"<dict><key>All Laps</key><array/><key>Date</key>"
                                       "<date>2013-03-02T13:01:11Z</date><key>Last Lap</key><real>0</"
                                       "real><key>Total Time</key><string>75.4</string></dict>"}),
                   R"(["Times - A"][0]["Total Time"]: a string, not a number (read as 0))"},
        FlawedFile{"total_missing",
                   sections({"A"}) +
                       recordsOf("A", {"<dict><key>All Laps</key><array/><key>Date</key>"
                                       "<date>2013-03-02T13:01:11Z</date><key>Last Lap</key><real>0</"
                                       "real></dict>"}),
                   R"(["Times - A"][0]["Total Time"]: missing (read as 0))"},
        FlawedFile{"lap_a_boolean",
                   sections({"A"}) +
                       recordsOf("A", {kGood, "<dict><key>All Laps</key><array><real>1</real><true/>"
                                              "</array><key>Date</key><date>2013-03-02T13:01:11Z</"
                                              "date><key>Last Lap</key><real>1</real><key>Total "
                                              "Time</key><real>2</real></dict>"}),
                   R"(["Times - A"][1]["All Laps"][1]: a boolean, not a number (read as 0))"},
        FlawedFile{"negative_lap", sections({"A"}) + recordsOf("A", {record({"30", "-3"}, "27")}),
                   R"(["Times - A"][0]["All Laps"][1]: -3 is a negative time)"},
        FlawedFile{"total_not_a_number", sections({"A"}) + recordsOf("A", {record({"30"}, "nan")}),
                   R"(["Times - A"][0]["Total Time"]: nan is not a finite time)"},
        FlawedFile{"lap_infinite", sections({"A"}) + recordsOf("A", {record({"30", "+infinity"}, "30")}),
                   R"(["Times - A"][0]["All Laps"][1]: inf is not a finite time)"},
        FlawedFile{"lap_too_large_for_single_precision",
                   sections({"A"}) + recordsOf("A", {record({"30", "1e300"}, "30")}),
                   R"(["Times - A"][0]["All Laps"][1]: 1e+300 is not a finite time)"},
        FlawedFile{"date_a_string",
                   sections({"A"}) + recordsOf("A", {"<dict><key>All Laps</key><array/><key>Date</key>"
                                                     "<string>yesterday</string><key>Last Lap</key><real>0</"
                                                     "real><key>Total Time</key><real>1</real></dict>"}),
                   R"(["Times - A"][0]["Date"]: a string, not a date (read as no date))"},
        // Text that XML 1.0 cannot hold: the add-on reads it, other programs refuse the file.
        FlawedFile{
            "section_name_with_control_characters",
            sections({"Esc\x1B[31mRED\x07"}) + recordsOf("Esc\x1B[31mRED\x07", {kGood}),
            R"(["Sections"][0]: the name of section "Esc\u001b[31mRED\u0007" holds U+001B, a character XML 1.0 forbids: other programs refuse the whole file (the add-on reads it))"},
        FlawedFile{
            "foreign_string_with_a_noncharacter",
            sections({"A"}) + recordsOf("A", {kGood}) +
                "<key>Note</key><array><string>a\xEF\xBF\xBF</string></array>",
            R"(["Note"][0]: a string that holds U+FFFF, a character XML 1.0 forbids: other programs refuse the whole file (the add-on reads it))"},
        // Dates the platform's writer writes in a form other programs refuse.
        FlawedFile{
            "date_past_year_9999",
            sections({"A"}) + recordsOf("A", {"<dict><key>All Laps</key><array/><key>Date</key>"
                                              "<date>10000-01-01T00:00:30Z</date><key>Last Lap</key>"
                                              "<real>0</real><key>Total Time</key><real>1</real></dict>"}),
            R"(["Times - A"][0]["Date"]: a date in year 10000 (other programs read years 1 to 9999 only): other programs refuse the whole file (the add-on reads it))"},
        FlawedFile{
            "foreign_date_before_year_1",
            sections({"A"}) + recordsOf("A", {kGood}) +
                "<key>Born</key><array><date>0000-12-31T23:59:59Z</date></array>",
            R"(["Born"][0]: a date in year 0 (other programs read years 1 to 9999 only): other programs refuse the whole file (the add-on reads it))"},
        // A NUL reads (raw or as a reference) but cannot be written as XML.
        FlawedFile{
            "foreign_string_with_a_nul",
            sections({"A"}) + recordsOf("A", {kGood}) + "<key>Note</key><string>a&#0;b</string>",
            R"(["Note"]: a string that holds U+0000, which XML cannot carry: the add-on writes nothing to the file while it is there (it reads it))"}),
    testing_support::PrintedName());

TEST_F(TimesReports, CheckFindsNothingInACleanFileAndTellsItsLayout) {
    std::string body = sections({"Default", "Runs"}) + recordsOf("Default", {kGood}) + recordsOf("Runs", {}) +
                       "<key>Unknown</key><string>kept</string>";
    std::string file = write(body);
    auto run = times({"check"}, file);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out,
              "layout: XML, but not laid out as the platform writes it (another program wrote it); the "
              "add-on rewrites it at its next change\n" +
                  file + ": no problems found.\n");

    // A file named on the command line that is not there is a mistake; a home without one has
    // nothing saved yet.
    auto missing = times({"check"}, folder.file("none.plist"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find(folder.file("none.plist") + " does not exist"), std::string::npos)
        << missing.err;
    auto noneYet = runLapvane({"times", "check", "--home", folder.path()});
    EXPECT_EQ(noneYet.status, 0);
    EXPECT_EQ(noneYet.out, "No saved-times file at " + folder.path() +
                               "/Library/Preferences/com.varnoth.lapvane.plist.\n");

    testing_support::writeWholeFile(file, "<plist><dict>");
    auto unreadable = times({"check"}, file);
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_NE(unreadable.out.find("cannot be read"), std::string::npos) << unreadable.out;
}

TEST_F(TimesReports, CheckOfAPathWhoseBytesCannotBeReadSaysSoAndTouchesNothing) {
    const std::string path = folder.file("folder.plist");
    testing_support::writeWholeFile(path + "/inside", "x");
    auto run = times({"check"}, path);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("not a regular file); the add-on leaves it as it is"), std::string::npos)
        << run.out;
    EXPECT_EQ(testing_support::readWholeFile(path + "/inside"), "x");
}

// One rule per value in every format: a time that is not finite is null in JSON and an empty
// CSV field; times are plain decimals in CSV; years have four digits; a name's control
// characters are data in JSON and CSV and escapes in the text for the terminal; a section listed
// twice has its problems counted once.
TEST_F(TimesReports, EachFormatWritesAwkwardValuesByOneRule) {
    std::string body = sections({"Esc\x1b[31m", "Esc\x1b[31m"});
    body += recordsOf("Esc\x1b[31m",
                      {record({"1e300", "2"}, "1000000000", "0001-01-01T00:00:05Z"), "<string>x</string>"});
    std::string file = write(body);

    auto csv = times({"export", "--format", "csv"}, file);
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_NE(csv.out.find(",0001-01-01T00:00:05Z,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(",1000000000,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(",2,;2\r\n"), std::string::npos) << "an infinite lap is an empty field\n"
                                                            << csv.out;
    EXPECT_NE(csv.out.find("Esc\x1b[31m"), std::string::npos) << "the name is data in CSV";

    auto json = times({"export", "--format", "json"}, file);
    ASSERT_EQ(json.status, 0) << json.err;
    Json first = Json::parse(json.out)["sections"][0];
    EXPECT_EQ(first["name"], "Esc\x1b[31m");
    EXPECT_EQ(first["records"][0]["date"], "0001-01-01T00:00:05Z");
    EXPECT_TRUE(first["records"][0]["laps"][0].is_null());

    auto list = times({"list"}, file);
    EXPECT_EQ(list.out.find('\x1b'), std::string::npos) << "no raw escape reaches the terminal";
    EXPECT_NE(list.out.find("Esc\\x1b[31m"), std::string::npos) << list.out;

    auto check = times({"check"}, file);
    EXPECT_NE(check.out.find("is not a finite time"), std::string::npos) << check.out;
    // The repeat of the name, its escape character, the infinite lap (and the last lap, the same
    // value) and the record that is not one: five problems, however many times the section is
    // listed.
    EXPECT_NE(check.out.find(": 5 problems found."), std::string::npos) << check.out;
}

TEST_F(TimesReports, ATimeThatIsNotFiniteMeasuresNothingInTextAndJsonAlike) {
    // One section whose totals are all infinite, one with an infinite and a finite total, and a
    // record without laps.
    std::string body = sections({"Inf", "Mixed"});
    body += recordsOf("Inf", {record({"1e300"}, "1e300")});
    body += recordsOf("Mixed", {record({"2", "1e300"}, "1e300"), record({}, "4")});
    std::string file = write(body);

    auto json = times({"stats", "--format", "json"}, file);
    ASSERT_EQ(json.status, 0) << json.err;
    Json parsed = Json::parse(json.out);
    Json infinite = parsed["sections"][0];
    for (const char* key : {"best_total", "worst_total", "average_total"}) {
        EXPECT_TRUE(infinite[key].is_null()) << key;
        EXPECT_TRUE(infinite[std::string(key) + "_text"].is_null())
            << key << ": a text only where a value is";
    }
    Json mixed = parsed["sections"][1];
    EXPECT_EQ(mixed["worst_total"], 4.0) << "the infinite total is left out";
    EXPECT_EQ(mixed["average_total_text"], "4.0");
    EXPECT_EQ(mixed["records"][0]["slowest_lap"], 2.0);
    EXPECT_TRUE(mixed["records"][0]["split_texts"][1].is_null());

    auto text = times({"stats"}, file);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Inf (1 record)\n"), std::string::npos)
        << "no totals to compare, as JSON's nulls\n"
        << text.out;
    EXPECT_NE(text.out.find("Mixed (2 records)  best 4.0  worst 4.0  average 4.0\n"), std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("     splits 2.0 -\n"), std::string::npos) << text.out;

    auto list = times({"list"}, file);
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out.find("\n   \n"), std::string::npos) << "no line of blanks for a record without laps\n"
                                                           << list.out;
    EXPECT_NE(list.out.find("Laps: 0\n"), std::string::npos) << list.out;
}

} // namespace
