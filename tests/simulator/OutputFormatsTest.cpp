// The manual page lists the outputs' fields from one table; the writers must write exactly those
// fields, in that order.

#include "simulator/times/OutputFormats.h"

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace {

using Ordered = nlohmann::ordered_json;

std::vector<std::string> namesOf(const std::vector<sim::OutputField>& fields) {
    std::vector<std::string> names;
    for (const auto& field : fields) {
        names.push_back(field.name);
    }
    return names;
}

std::vector<std::string> keysOf(const Ordered& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

TEST(OutputFormats, TheWritersWriteTheListedFieldsInOrder) {
    testing_support::TemporaryDirectory folder;
    const std::string file = folder.file("saved.plist");
    testing_support::writeWholeFile(
        file, "<plist version=\"1.0\"><dict><key>Sections</key><array><string>Default</string></array>"
              "<key>Times - Default</key><array><dict><key>All Laps</key><array><real>1.5</real></array>"
              "<key>Date</key><date>2026-12-07T08:38:09Z</date><key>Last Lap</key><real>1.5</real>"
              "<key>Total Time</key><real>1.5</real></dict></array></dict></plist>");

    auto csv = testing_support::runLapvane({"times", "export", "--format", "csv", "--file", file});
    ASSERT_EQ(csv.status, 0) << csv.err;
    std::string header;
    for (const auto& name : namesOf(sim::csvColumns())) {
        header += (header.empty() ? "" : ",") + name;
    }
    EXPECT_EQ(csv.out.substr(0, csv.out.find("\r\n")), header);

    auto exported = testing_support::runLapvane({"times", "export", "--format", "json", "--file", file});
    ASSERT_EQ(exported.status, 0) << exported.err;
    Ordered document = Ordered::parse(exported.out);
    EXPECT_EQ(keysOf(document["sections"][0]), (std::vector<std::string>{"name", "records"}));
    EXPECT_EQ(keysOf(document["sections"][0]["records"][0]), namesOf(sim::exportRecordFields()));

    auto stats = testing_support::runLapvane({"times", "stats", "--format", "json", "--file", file});
    ASSERT_EQ(stats.status, 0) << stats.err;
    Ordered statistics = Ordered::parse(stats.out);
    EXPECT_EQ(keysOf(statistics["sections"][0]), namesOf(sim::statsSectionFields()));
    EXPECT_EQ(keysOf(statistics["sections"][0]["records"][0]), namesOf(sim::statsRecordFields()));

    testing_support::TemporaryDirectory home;
    auto dump = testing_support::runLapvane({"sim", "--home", home.path()}, "launch\ndump\n");
    ASSERT_EQ(dump.status, 0) << dump.err;
    std::string line = dump.out.substr(dump.out.find('{'));
    EXPECT_EQ(keysOf(Ordered::parse(line.substr(0, line.find('\n')))), namesOf(sim::dumpFields()));
}

} // namespace
