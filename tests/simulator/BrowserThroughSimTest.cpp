// The saved-times browser as a user meets it through `lapvane sim`: results saved on the stopwatch
// are listed on the Saved tab, a tap slides their laps in, a wait settles the panel, back slides it
// out, and `dump` shows every state.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace {

using nlohmann::json;
using testing_support::runLapvane;

// Two results: 30.04, 30.03 and 15.36 (three laps), then 42.5 in one lap.
constexpr const char* kTwoResults = "tab stopwatch\nstart\nwait 30.04\nlap\nwait 30.03\nlap\nwait 15.36\n"
                                    "stop\nsave\nreset\nstart\nwait 42.5\nstop\nsave\n";

class BrowserThroughSim : public ::testing::Test {
  protected:
    std::vector<json> dumps(const std::string& script) {
        auto run = runLapvane({"sim", "--home", home.path(), "--now", "2026-12-07T08:00:00Z", "--tz", "UTC",
                               "--locale", "en_US"},
                              script);
        EXPECT_EQ(run.status, 0) << run.err << run.out;
        EXPECT_EQ(run.err, "");
        output = run.out;
        return testing_support::dumpsIn(run.out);
    }
    static json frame(double x, double width) { return json::array({x, 44.0, width, 456.0}); }

    testing_support::TemporaryDirectory home;
    std::string output;
};

TEST_F(BrowserThroughSim, TheSavedTabListsTheCapturesWithTheirTextsAndTheLabelOnlyWhenEmpty) {
    auto states = dumps(std::string("launch\ntab saved\ndump\n") + kTwoResults + "tab saved\ndump\nscreen\n");
    ASSERT_EQ(states.size(), 2U) << output;
    EXPECT_EQ(states[0]["saved"]["no_saved_times_visible"], true);
    EXPECT_EQ(states[0]["saved"]["saved_table"]["sections"][0]["title"], nullptr);

    const json& saved = states[1]["saved"];
    EXPECT_EQ(saved["no_saved_times_visible"], false) << "shown again after the captures";
    const json& section = saved["saved_table"]["sections"][0];
    EXPECT_EQ(section["title"], "Default");
    EXPECT_EQ(section["row_count"], 2);
    ASSERT_EQ(section["rows"].size(), 2U);
    EXPECT_EQ(section["rows"][0]["main"], "Time: 01:15.4");
    EXPECT_EQ(section["rows"][0]["date"], "Mon, Dec 7, 2026");
    EXPECT_EQ(section["rows"][0]["laps"], "Laps: 3 >");
    EXPECT_EQ(section["rows"][1]["main"], "Time: 42.5");
    EXPECT_EQ(section["rows"][1]["laps"], "Laps: 1 >");
    EXPECT_NE(output.find("-- Default --"), std::string::npos) << output;
}

TEST_F(BrowserThroughSim, ATapSlidesTheLapsInAWaitSettlesThemAndBackSlidesThemOut) {
    auto states = dumps(std::string("launch\n") + kTwoResults +
                        "tab saved\ntap 0 0\ndump\nwait 0.5\ndump\nback\ndump\nwait 0.5\ndump\n");
    ASSERT_EQ(states.size(), 4U) << output;
    const auto laps = [&](std::size_t i) { return states[i]["saved"]["laps_table"]; };
    const auto saved = [&](std::size_t i) { return states[i]["saved"]["saved_table"]; };
    const auto bar = [&](std::size_t i) { return states[i]["saved"]["top_bar"]; };
    const double tapped = states[0]["time"];

    // Slid in: the model is at its overshoot at once; the screen still shows it outside.
    EXPECT_EQ(laps(0)["frame"], frame(-20, 340));
    EXPECT_EQ(laps(0)["frame_on_screen"], frame(320, 320));
    ASSERT_EQ(bar(0).size(), 2U);
    EXPECT_EQ(bar(0)[1]["title"], "Time: 01:15.4");
    ASSERT_EQ(laps(0)["rows"].size(), 3U);
    EXPECT_EQ(laps(0)["rows"][2]["main"], "15.3");
    EXPECT_EQ(laps(0)["rows"][2]["laps"], "Lap 3");
    EXPECT_EQ(laps(0)["rows"][2]["laps_frame"], json::array({260.0, 10.0, 80.0, 30.0}));
    EXPECT_EQ(saved(0)["allows_selection"], false);
    EXPECT_EQ(saved(0)["selected"], json::array({0, 0}));
    ASSERT_EQ(states[0]["saved"]["pending"].size(), 1U);
    EXPECT_EQ(states[0]["saved"]["pending"][0]["selector"], "tableViewNextAnimationWithCellToDeselect:");
    EXPECT_NEAR(states[0]["saved"]["pending"][0]["at"].get<double>(), tapped + 0.3, 1e-9);

    // Settled exactly over the table of results, the row deselected.
    EXPECT_EQ(laps(1)["frame"], saved(1)["frame"]);
    EXPECT_EQ(laps(1)["frame_on_screen"], saved(1)["frame"]);
    EXPECT_EQ(saved(1)["selected"], nullptr);
    EXPECT_EQ(states[1]["saved"]["pending"], json::array());

    // Back: the model is outside at once, the screen still shows it over the list.
    EXPECT_EQ(laps(2)["frame"], frame(320, 320));
    EXPECT_EQ(laps(2)["frame_on_screen"], frame(0, 320));
    EXPECT_EQ(bar(2).size(), 1U);
    EXPECT_EQ(saved(2)["allows_selection"], false) << "until the bar has popped";

    EXPECT_EQ(laps(3)["frame"], frame(320, 320));
    EXPECT_EQ(laps(3)["frame_on_screen"], frame(320, 320));
    EXPECT_EQ(saved(3)["allows_selection"], true);
}

TEST_F(BrowserThroughSim, TheScreenShowsThePanelInsteadOfTheListUnderIt) {
    dumps(std::string("launch\n") + kTwoResults + "tab saved\ntap 0 0\nwait 0.5\nscreen\n");
    const std::string screen = output.substr(output.rfind("== iphone-4"));
    EXPECT_NE(screen.find("< Saved Times"), std::string::npos) << screen;
    EXPECT_NE(screen.find("-- Laps --"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Lap 3"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("Laps: 3 >"), std::string::npos) << "the list is under the panel\n" << screen;
}

} // namespace
