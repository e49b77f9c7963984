// Editing the saved times through `lapvane sim`: edit mode, a new section, moves that empty and
// drop a section, a delete and a refused name leave the file and the dumped screen as they
// should; the table gestures take their time on the device's clock; and long random scripts of
// the editing commands never end in a fault.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;
using testing_support::runLapvane;

// Two results, 3.0 and 5.0, in "Default"; then the Saved tab with its bar settled.
constexpr const char* kTwoResultsOnTheSavedTab = "launch\ntab stopwatch\nstart\nwait 3\nstop\nsave\nreset\n"
                                                 "start\nwait 5\nstop\nsave\ntab saved\nwait 1\n";

class EditingThroughSim : public ::testing::Test {
  protected:
    testing_support::ProgramRun sim(const std::string& script) {
        auto run = runLapvane({"sim", "--home", home.path(), "--now", "2026-12-07T08:00:00Z", "--tz", "UTC",
                               "--locale", "en_US"},
                              script);
        output = run.out;
        return run;
    }
    std::vector<json> dumps(const std::string& script) {
        auto run = sim(script);
        EXPECT_EQ(run.status, 0) << run.err << run.out;
        EXPECT_EQ(run.err, "");
        return testing_support::dumpsIn(run.out);
    }
    json exported() {
        auto run = runLapvane({"times", "export", "--format", "json", "--home", home.path(), "--tz", "UTC",
                               "--locale", "en_US"});
        EXPECT_EQ(run.status, 0) << run.err;
        return json::parse(run.out);
    }
    // Each section of a dump's saved-times table as "TITLE:ROWS".
    static std::vector<std::string> tableOf(const json& state) {
        std::vector<std::string> sections;
        for (const json& section : state["saved"]["saved_table"]["sections"]) {
            sections.push_back(
                (section["title"].is_null() ? std::string("-") : section["title"].get<std::string>()) + ":" +
                std::to_string(section["row_count"].get<int>()));
        }
        return sections;
    }
    static std::vector<std::string> pendingOf(const json& state) {
        std::vector<std::string> selectors;
        for (const json& pending : state["saved"]["pending"]) {
            selectors.push_back(pending["selector"]);
        }
        return selectors;
    }
    // Each section of the file as "NAME:TOTAL_TEXT,...".
    std::vector<std::string> fileNow() {
        std::vector<std::string> sections;
        const json file = exported();
        for (const json& section : file["sections"]) {
            std::string line = section["name"].get<std::string>() + ":";
            for (const json& record : section["records"]) {
                line += record["total_text"].get<std::string>() + ",";
            }
            sections.push_back(line);
        }
        return sections;
    }

    testing_support::TemporaryDirectory home;
    std::string output;
};

using Lines = std::vector<std::string>;

TEST_F(EditingThroughSim, AScriptOfEditsLeavesTheFileAndTheScreenAsExpected) {
    auto states = dumps(std::string(kTwoResultsOnTheSavedTab) +
                        "edit\nadd\ntype Work\nbutton Add\nwait 1\ndump\n"
                        // Into Work; Default keeps a record.
                        "move 0 0 1 0\ndump\n"
                        // Default's last record into Work: Default leaves the file now, the table
                        // a tenth of a second later.
                        "move 0 0 1 1\ndump\nwait 0.1\ndump\n"
                        "delete 0 0\ndump\n"
                        "add\ntype Work\nbutton Add\nwait 1\ndump\n"
                        "button Dismiss\nwait 1\ntype Gym\nbutton Add\nwait 1\ndone\ndump\n");
    ASSERT_EQ(states.size(), 7U) << output;

    const json& editing = states[0]["saved"];
    EXPECT_EQ(editing["editing"], true);
    EXPECT_EQ(editing["top_bar"][0]["left"], json({{"title", "Add"}, {"style", "done"}}));
    EXPECT_EQ(editing["top_bar"][0]["right"], json({{"title", "Done"}, {"style", "done"}}));
    EXPECT_EQ(editing["saved_table"]["sections"][0]["rows"][0]["main_frame"][0], 40.0);
    EXPECT_EQ(editing["saved_table"]["sections"][0]["rows"][0]["laps_alpha"], 0.0);
    EXPECT_EQ(tableOf(states[0]), (Lines{"Default:2", "Work:0"}));
    EXPECT_EQ(tableOf(states[1]), (Lines{"Default:1", "Work:1"}));
    // Default stays on screen a moment, empty, under its own header.
    EXPECT_EQ(tableOf(states[2]), (Lines{"Default:0", "Work:2"}));
    EXPECT_EQ(pendingOf(states[2]), Lines{"deleteEmptySections:"});
    EXPECT_EQ(tableOf(states[3]), Lines{"Work:2"});
    EXPECT_TRUE(pendingOf(states[3]).empty());
    EXPECT_EQ(tableOf(states[4]), Lines{"Work:1"});

    const json& refused = states[5]["alerts"];
    ASSERT_GE(refused.size(), 2U) << states[5].dump();
    EXPECT_EQ(refused[refused.size() - 2]["title"], "New Section");
    EXPECT_EQ(refused.back()["title"], "Error");
    EXPECT_EQ(refused.back()["message"], "Section: \"Work\" already exists.");

    const json& done = states[6]["saved"];
    EXPECT_EQ(done["editing"], false);
    EXPECT_EQ(done["top_bar"][0]["left"], nullptr);
    EXPECT_EQ(done["top_bar"][0]["right"], json({{"title", "Edit"}, {"style", "plain"}}));
    EXPECT_EQ(tableOf(states[6]), (Lines{"Work:1", "Gym:0"}));
    EXPECT_EQ(fileNow(), (Lines{"Work:Time: 5.0,", "Gym:"}));
}

TEST_F(EditingThroughSim, BytesThatAreNotTextInTheDialogShowReplacedAndTheNameIsRefused) {
    // A script types what no keyboard does; the dump, the screen and a picture show it with
    // U+FFFD, nothing warns, and the name is refused with its own alert.
    testing_support::TemporaryDirectory pictures;
    auto states = dumps(std::string(kTwoResultsOnTheSavedTab) +
                        "edit\nadd\ntype Bad\xFF\ndump\nscreen\nshot " + pictures.file("typed.png") +
                        "\nbutton Add\nwait 1\ndump\nscreen\nshot " + pictures.file("refused.png") + "\n");
    ASSERT_EQ(states.size(), 2U) << output;
    ASSERT_EQ(states[0]["alerts"].size(), 1U);
    EXPECT_EQ(states[0]["alerts"][0]["text"], "Bad\xEF\xBF\xBD");
    const json& refused = states[1]["alerts"];
    ASSERT_EQ(refused.size(), 2U) << states[1].dump();
    EXPECT_EQ(refused[0]["title"], "New Section");
    EXPECT_EQ(refused[1]["title"], "Invalid Name");
    EXPECT_EQ(refused[1]["message"], "Please type in a name without control characters.");
    EXPECT_EQ(fileNow(), Lines{"Default:Time: 3.0,Time: 5.0,"});
}

TEST_F(EditingThroughSim, TableGesturesTakeTheirTimeAndTheStopwatchButtonsNone) {
    auto states = dumps(std::string(kTwoResultsOnTheSavedTab) +
                        "dump\nswipe 0 0\ndump\nunswipe\ndump\ndelete 0 0\ndump\nedit\ndump\n"
                        "delete 0 0\ndump\ntab stopwatch\nstart\ndump\nstop\ndump\n");
    ASSERT_EQ(states.size(), 8U) << output;
    const auto at = [&](std::size_t i) { return states[i]["time"].get<double>(); };
    EXPECT_NEAR(at(1) - at(0), 0.3, 1e-9) << "a swipe";
    EXPECT_NEAR(at(2) - at(1), 0.15, 1e-9) << "a tap beside the Delete button";
    EXPECT_NEAR(at(3) - at(2), 0.45, 1e-9) << "a swipe, then the Delete button";
    EXPECT_NEAR(at(4) - at(3), 0.0, 1e-9) << "a bar item";
    EXPECT_NEAR(at(5) - at(4), 0.3, 1e-9) << "the minus control, then the Delete button";
    EXPECT_NEAR(at(7) - at(6), 0.0, 1e-9) << "the stopwatch's buttons";
}

TEST_F(EditingThroughSim, AlertsQueuedBehindAClosingOneBlockTheScreenAndAreWaitedFor) {
    // The refused name's alerts wait for the first dialog to close; until they are up the screen
    // takes no touch, and the next alert command waits for them instead of failing.
    auto run = sim(std::string(kTwoResultsOnTheSavedTab) +
                   "edit\nadd\ntype Work\nbutton Add\nwait 1\nadd\ntype Work\nbutton Add\n"
                   "tap 0 0\ndone\nbutton Dismiss\nwait 0.5\ndump\nbutton Dismiss\ndone\nwait 0.5\ndump\n");
    EXPECT_EQ(run.err, "error: <stdin>:22: an alert is in front (use \"button TITLE\" or \"type TEXT\")\n"
                       "error: <stdin>:23: an alert is in front (use \"button TITLE\" or \"type TEXT\")\n");
    auto states = testing_support::dumpsIn(run.out);
    ASSERT_EQ(states.size(), 2U) << output;
    ASSERT_EQ(states[0]["alerts"].size(), 1U) << states[0].dump();
    EXPECT_EQ(states[0]["alerts"][0]["title"], "New Section")
        << "the refusal was dismissed, the fresh dialog stays";
    EXPECT_EQ(states[0]["saved"]["saved_table"]["selected"], nullptr);
    EXPECT_TRUE(states[1]["alerts"].empty());
    EXPECT_EQ(states[1]["saved"]["editing"], false);
}

TEST_F(EditingThroughSim, AReusedResultCellShowsItsLapCountOutsideEditMode) {
    // The swipe faded the deleted row's lap count; the reload after the delete hands that cell to
    // the remaining row, which must show its count all the same.
    auto states = dumps(std::string(kTwoResultsOnTheSavedTab) + "delete 0 0\nwait 0.5\ndump\n");
    ASSERT_EQ(states.size(), 1U) << output;
    const json& row = states[0]["saved"]["saved_table"]["sections"][0]["rows"][0];
    EXPECT_EQ(row["main"], "Time: 5.0");
    EXPECT_EQ(row["laps_alpha"], 1.0);
    EXPECT_EQ(row["main_frame"][0], 10.0);
}

// ---- Random scripts ----------------------------------------------------------------------------

// A script of editing commands, with a few others between them, from one seed. Many lines are
// refused (no such row, an alert in front); none may fault.
std::string randomScript(unsigned seed, int length) {
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::vector<std::string> names = {"Work", "Gym", "Default", "work", "", "  ", "Runs"};
    std::ostringstream script;
    script << kTwoResultsOnTheSavedTab << "start\nwait 2\nstop\n";
    for (int i = 0; i < length; ++i) {
        const auto row = [&] { return std::to_string(pick(3)) + " " + std::to_string(pick(3)); };
        switch (pick(17)) {
        case 0:
            script << "edit\n";
            break;
        case 1:
            script << "done\n";
            break;
        case 2:
        case 3:
            script << "add\n";
            break;
        case 4:
            script << "swipe " << row() << "\n";
            break;
        case 5:
            script << "unswipe\n";
            break;
        case 6:
        case 7:
            script << "delete " << row() << "\n";
            break;
        case 8:
        case 9:
            script << "move " << row() << " " << row() << "\n";
            break;
        case 10:
            script << "type " << names[static_cast<std::size_t>(pick(static_cast<int>(names.size())))]
                   << "\n";
            break;
        case 11:
            script << "button " << (pick(3) == 0 ? "Dismiss" : "Add") << "\n";
            break;
        case 12:
            script << "wait " << (pick(2) == 0 ? "0.05" : "0.3") << "\n";
            break;
        case 13:
            script << "tap " << row() << "\n";
            break;
        case 14:
            script << "back\n";
            break;
        case 15:
            // A result saved on the stopwatch meanwhile, then back to the Saved tab.
            script << "tab stopwatch\nreset\nstart\nwait 1\nstop\nsave\ntab saved\n";
            break;
        default:
            script << (pick(2) == 0 ? "tab stopwatch\ntab saved\n" : "dump\n");
            break;
        }
    }
    // Whatever alerts are up are dismissed, front first, each revealing the next.
    for (int i = 0; i < 8; ++i) {
        script << "wait 1\nbutton Dismiss\n";
    }
    script << "wait 1\ndump\n";
    return script.str();
}

class RandomEditingScript : public EditingThroughSim, public testing::WithParamInterface<unsigned> {};

TEST_P(RandomEditingScript, NeverFaultsAndEndsShowingTheFile) {
    auto run = sim(randomScript(GetParam(), 400));
    ASSERT_NE(run.status, 1) << run.err;
    ASSERT_EQ(run.err.find("fault:"), std::string::npos) << run.err;
    auto states = testing_support::dumpsIn(run.out);
    ASSERT_FALSE(states.empty());
    const json& last = states.back();
    ASSERT_TRUE(last["alerts"].empty()) << last.dump();
    // Once everything has settled, the table shows exactly the file's sections and records.
    std::vector<std::string> shown;
    for (const json& section : last["saved"]["saved_table"]["sections"]) {
        shown.push_back(std::to_string(section["row_count"].get<int>()));
    }
    std::vector<std::string> stored;
    const json file = exported();
    for (const json& section : file["sections"]) {
        stored.push_back(std::to_string(section["records"].size()));
    }
    EXPECT_EQ(shown, stored);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEditingScript, testing::Values(1U, 2U, 3U, 4U, 5U, 6U),
                         [](const auto& info) { return "Seed" + std::to_string(info.param); });

} // namespace
