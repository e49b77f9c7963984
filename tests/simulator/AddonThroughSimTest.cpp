// The add-on as a user meets it on the simulated device: the Save button, the Saved tab, the
// launch image, and the demonstration.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace {

using testing_support::runLapvane;

class AddonThroughSim : public ::testing::Test {
  protected:
    testing_support::ProgramRun sim(const std::string& script) {
        return runLapvane({"sim", "--home", home.path(), "--now", "2026-12-07T08:00:00Z", "--tz", "UTC"},
                          script);
    }
    nlohmann::json exported() {
        auto run = runLapvane({"times", "export", "--format", "json", "--home", home.path(), "--tz", "UTC",
                               "--locale", "en_US"});
        EXPECT_EQ(run.status, 0) << run.err;
        return nlohmann::json::parse(run.out);
    }
    testing_support::TemporaryDirectory home;
};

TEST_F(AddonThroughSim, SavingStoresOneRecordAndTheButtonStaysDisabledUntilTheNextStop) {
    auto run = sim("launch\ntab stopwatch\nstart\nwait 30.04\nlap\nwait 30.03\nlap\nwait 15.36\nstop\ndump\n"
                   "save\ndump\nsave\nstart\ndump\nwait 1\nstop\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = testing_support::dumpsIn(run.out);
    ASSERT_EQ(states.size(), 4U) << run.out;
    const auto look = [&](std::size_t i) { return states[i]["stopwatch"]["save_button"]; };
    EXPECT_EQ(look(0)["enabled"], true);
    EXPECT_EQ(look(0)["title_alpha"], 1.0);
    EXPECT_EQ(look(1)["enabled"], false);
    EXPECT_EQ(look(1)["title_alpha"], 0.2);
    EXPECT_EQ(look(2)["enabled"], false);
    EXPECT_EQ(look(3)["enabled"], true);

    auto times = exported();
    ASSERT_EQ(times["sections"].size(), 1U);
    EXPECT_EQ(times["sections"][0]["name"], "Default");
    const auto& records = times["sections"][0]["records"];
    ASSERT_EQ(records.size(), 1U) << times.dump();
    EXPECT_EQ(records[0]["total_text"], "Time: 01:15.4");
    EXPECT_EQ(records[0]["lap_texts"], nlohmann::json({"30.0", "30.0", "15.3"}));
    EXPECT_EQ(records[0]["date"], "2026-12-07T08:01:15Z");
}

TEST_F(AddonThroughSim, TheSavedTabIsFifthAndARelaunchReturnsToItWithItsLaunchImage) {
    auto run = sim("launch\ntab saved\ndump\nquit\nlaunch\ndump\nlaunch-image com.apple.mobilemail\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto states = testing_support::dumpsIn(run.out);
    ASSERT_EQ(states.size(), 2U) << run.out;
    EXPECT_EQ(states[0]["tab"]["index"], 4);
    EXPECT_EQ(states[0]["tab"]["titles"][4], "Saved");
    EXPECT_EQ(states[1]["tab"]["index"], 4);
    EXPECT_EQ(states[1]["launch_image"], "Default-clock-saved-568h@2x~lapvane.png");
    EXPECT_NE(run.out.find("launch image: Default-568h@2x~lapvane.png"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("launch image: Default-clock-saved-568h@2x~lapvane.png"), std::string::npos);
    EXPECT_NE(run.out.find("launch image: Default.png"), std::string::npos);
}

TEST(LapvaneDemo, RunsToTheEndAndShowsTheResultLeftAfterTheEdits) {
    auto run = runLapvane({"demo", "--now", "2026-12-07T08:00:00Z", "--tz", "UTC", "--locale", "en_US"});
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    // Both results moved into Work, which emptied and dropped Default; the second was deleted.
    EXPECT_NE(run.out.find("Work (1 record)"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Default ("), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Section: \"Work\" already exists."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Time: 01:15.4  Mon, Dec 7, 2026  Laps: 3"), std::string::npos) << run.out;
    // The Saved tab's browser: the list, then the laps of the first result, then the list again.
    EXPECT_NE(run.out.find("Laps: 3 >"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("< Saved Times"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Lap 3"), std::string::npos) << run.out;
}

} // namespace
