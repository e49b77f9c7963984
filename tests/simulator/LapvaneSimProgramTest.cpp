// `lapvane sim` and `lapvane demo` as a person runs them: the built program, its scripts, its
// output and the files it leaves in the device's home.

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/CaseName.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testing_support::ProgramRun;
using testing_support::runLapvane;
using testing_support::TemporaryDirectory;

const char* kStopwatchScript = R"(# The host's stopwatch, tabs and a relaunch.
launch
tab stopwatch
start
wait 12.5
lap
wait 7.25
stop
dump
reset
tab alarm
quit
launch
dump
)";

class LapvaneSimProgram : public ::testing::Test {
  protected:
    std::vector<std::string> options(std::vector<std::string> more = {}) {
        std::vector<std::string> all = {"sim",  "--home", home.path(), "--now", "2026-12-07T08:00:00Z",
                                        "--tz", "UTC"};
        all.insert(all.end(), more.begin(), more.end());
        return all;
    }
    [[nodiscard]] double setting(const std::string& key) const {
        auto settings = plist::dictionaryWithContentsOfFile(
            home.path() + "/Library/Preferences/com.apple.mobiletimer.plist");
        auto number = settings ? settings->objectAs<NSNumber>(key) : nullptr;
        return number ? number->doubleValue() : -1;
    }
    TemporaryDirectory home;
};

TEST_F(LapvaneSimProgram, RunsTheStopwatchScriptWithoutTheAddOn) {
    std::string script = home.file("script.txt");
    testing_support::writeWholeFile(script, kStopwatchScript);
    ProgramRun run = runLapvane(options({"--no-addon", script}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<nlohmann::json> states = testing_support::dumpsIn(run.out);
    ASSERT_EQ(states.size(), 2u) << run.out;
    EXPECT_EQ(states[0]["tab"]["titles"].size(), 4u);
    EXPECT_DOUBLE_EQ(states[0]["stopwatch"]["laps"][0].get<double>(), 12.5);
    EXPECT_TRUE(states[0]["stopwatch"]["save_button"].is_null());
    EXPECT_EQ(states[1]["tab"]["index"], 1);
    EXPECT_EQ(setting("LASTTIME"), 0.0);
    EXPECT_EQ(setting("LAST_SELECTED_VIEW"), 2.0);
}

TEST_F(LapvaneSimProgram, RunsTheStopwatchScriptWithTheAddOnLoaded) {
    ProgramRun run = runLapvane(options(), kStopwatchScript);
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<nlohmann::json> states = testing_support::dumpsIn(run.out);
    ASSERT_EQ(states.size(), 2u) << run.out;
    EXPECT_EQ(states[0]["tab"]["titles"],
              nlohmann::json({"World Clock", "Alarm", "Timer", "Stopwatch", "Saved"}));
    EXPECT_EQ(states[0]["tab"]["index"], 3);
    nlohmann::json save = states[0]["stopwatch"]["save_button"];
    ASSERT_TRUE(save.is_object()) << states[0].dump();
    EXPECT_EQ(save["enabled"], true);
    EXPECT_EQ(save["frame"], nlohmann::json({23.0, 10.0, 125.0, 44.0}));
    EXPECT_EQ(states[1]["tab"]["index"], 1);
    EXPECT_EQ(setting("LAST_SELECTED_VIEW"), 2.0);
    EXPECT_EQ(setting("LASTTIME"), 0.0);
}

TEST_F(LapvaneSimProgram, TheDumpsTimeIsTheSumOfTheWaitsAsWritten) {
    ProgramRun run = runLapvane(options(), "launch\nwait 0.1\nwait 0.2\ndump\nwait 0.7\nwait 1e-9\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    auto dumps = testing_support::dumpsIn(run.out);
    ASSERT_EQ(dumps.size(), 2U);
    EXPECT_EQ(dumps[0]["time"].dump(), "0.3");
    EXPECT_EQ(dumps[1]["time"].dump(), "1.000000001");
}

TEST_F(LapvaneSimProgram, StoppingWritesTheTotalForTheNextLaunch) {
    ProgramRun run = runLapvane(options(), "launch\ntab stopwatch\nstart\nwait 3.25\nstop\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(setting("LASTTIME"), 3.25);
    EXPECT_EQ(setting("LAST_SELECTED_VIEW"), 4.0)
        << "the stopwatch is fourth once the Saved tab is installed";
    run = runLapvane(options(), "launch\ndump\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              "launch image: Default-clock-stopwatch-568h@2x~lapvane.png");
    std::vector<nlohmann::json> states = testing_support::dumpsIn(run.out);
    ASSERT_EQ(states.size(), 1u);
    EXPECT_EQ(states[0]["tab"]["index"], 3);
    EXPECT_EQ(states[0]["stopwatch"]["save_button"]["enabled"], true)
        << "a stopped result survives the relaunch";
}

TEST_F(LapvaneSimProgram, ABadLineAnywhereInTheScriptsRunsNothingAndEveryBadLineIsNamed) {
    testing_support::writeWholeFile(home.path() + "/a.txt", "\xEF\xBB\xBFlaunch\nfly away\n");
    testing_support::writeWholeFile(home.path() + "/b.txt", "wait -3\ntab 1\ndump\n");
    ProgramRun run = runLapvane(options({home.path() + "/a.txt", home.path() + "/b.txt"}));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "error: " + home.path() + "/a.txt:2: unknown command \"fly\" (try \"help\")\n" +
                  "error: " + home.path() +
                  "/b.txt:1: usage: wait SECONDS (a number of seconds from 0 to 1000000000, such as 2.5 "
                  "or 1e6)\n"
                  "lapvane sim: nothing was run; mend the lines above and run again\n");
    EXPECT_EQ(run.out, "") << "not even the launch ran";
}

TEST_F(LapvaneSimProgram, OnStandardInputABadLineGivesOneErrorLineAndTheRestRuns) {
    ProgramRun run = runLapvane(options(), "\xEF\xBB\xBFlaunch\nfly \x1b[31maway\nwait +1\ntab 1\ndump\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "error: <stdin>:2: unknown command \"fly\" (try \"help\")\n");
    EXPECT_EQ(testing_support::dumpsIn(run.out).size(), 1u);
    run = runLapvane(options(), "\x1b[31mfly\n");
    EXPECT_EQ(run.err, "error: <stdin>:1: unknown command \"\\x1b[31mfly\" (try \"help\")\n");
}

TEST_F(LapvaneSimProgram, AMissingScriptAfterAGoodOneRunsNothing) {
    testing_support::writeWholeFile(home.path() + "/ok.txt",
                                    "launch\ntab stopwatch\nstart\nwait 1\nstop\nsave\n");
    ProgramRun run = runLapvane(options({home.path() + "/ok.txt", home.path() + "/missing.txt"}));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing.txt"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(home.path() + "/Library/Preferences/com.varnoth.lapvane.plist"));
}

TEST_F(LapvaneSimProgram, ExitEndsTheSessionAndTheRestIsNotRun) {
    ProgramRun run = runLapvane(options(), "launch\nexit\ndump\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(testing_support::dumpsIn(run.out).empty()) << run.out;
}

TEST_F(LapvaneSimProgram, AFolderGivenAsAScriptIsRefused) {
    ProgramRun run = runLapvane(options({home.path()}));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("it is a folder"), std::string::npos) << run.err;
}

TEST_F(LapvaneSimProgram, TheDefaultHomeIsUnderXdgDataHome) {
    TemporaryDirectory data;
    ProgramRun run = runLapvane({"sim", "--no-addon"}, "launch\ntab 2\n", {"XDG_DATA_HOME=" + data.path()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(testing_support::readWholeFile(data.path() +
                                             "/lapvane/home/Library/Preferences/com.apple.mobiletimer.plist"),
              "");
}

struct BadOption {
    std::vector<std::string> arguments;
    const char* message;
};

void PrintTo(const BadOption& c, std::ostream* out) {
    for (const auto& argument : c.arguments) {
        *out << argument << " ";
    }
}

class LapvaneSimOptions : public LapvaneSimProgram, public ::testing::WithParamInterface<BadOption> {};

TEST_P(LapvaneSimOptions, RefusesBadOptionsBeforeStarting) {
    std::vector<std::string> arguments = {"sim", "--home", home.path()};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    ProgramRun run = runLapvane(arguments, "launch\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("launch image"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Options, LapvaneSimOptions,
                         ::testing::Values(BadOption{{"--device", "iphone-9"}, "iphone-9"},
                                           BadOption{{"--now", "tomorrow"}, "ISO 8601"},
                                           BadOption{{"--tz", "Mars/Olympus"}, "unknown time zone"},
                                           BadOption{{"/nonexistent/script.txt"}, "cannot read script"}),
                         testing_support::PrintedName());

// A copy of the stage whose add-on is damaged one way: the program names the add-on on standard
// error with why it did not load, and the session goes on without it. The copy's files are hard
// links to the stage's, but for the damaged one.
struct DamagedAddOn {
    std::string name;
    std::string file;
    std::string content;
};

void PrintTo(const DamagedAddOn& damage, std::ostream* out) {
    *out << damage.name;
}

class LapvaneSimDamagedAddOn : public ::testing::TestWithParam<DamagedAddOn> {};

TEST_P(LapvaneSimDamagedAddOn, IsNamedOnStandardErrorAndTheSessionGoesOn) {
    namespace fs = std::filesystem;
    TemporaryDirectory root;
    const fs::path stage = fs::path(testing_support::builtLapvane()).parent_path().parent_path();
    const fs::path copy = fs::path(root.path()) / "stage";
    for (const auto& entry : fs::recursive_directory_iterator(stage)) {
        const fs::path target = copy / fs::relative(entry.path(), stage);
        if (entry.is_directory()) {
            fs::create_directories(target);
        } else {
            fs::create_hard_link(entry.path(), target);
        }
    }
    const fs::path damaged =
        copy / "share/lapvane/device/Library/MobileSubstrate/DynamicLibraries" / GetParam().file;
    ASSERT_TRUE(fs::remove(damaged));
    testing_support::writeWholeFile(damaged.string(), GetParam().content);

    ProgramRun run = testing_support::runProgram(
        (copy / "bin/lapvane").string(),
        {"sim", "--home", root.file("home"), "--now", "2026-12-07T08:00:00Z"}, "launch\ndump\n");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.rfind("lapvane: Lapvane.so not loaded: ", 0), 0U) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(testing_support::dumpsIn(run.out).size(), 1U) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Damages, LapvaneSimDamagedAddOn,
                         ::testing::Values(DamagedAddOn{"unreadable filter", "Lapvane.plist", "not a filter"},
                                           DamagedAddOn{"library not a library", "Lapvane.so",
                                                        "not a library"}),
                         testing_support::PrintedName());

} // namespace
