// `lapvane window --play` follows `lapvane sim`'s rules before any window opens: a script that
// cannot be read or holds a bad line anywhere runs nothing, with sim's messages and exit
// statuses; `--record` will not overwrite the script being played; an option that needs another
// says so. None of these needs a display: they are refused before the window module loads, so
// the tests run with DISPLAY unset and would see "cannot open a display" had they got that far.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

using testing_support::readWholeFile;
using testing_support::runLapvane;

const std::vector<std::string> kNoDisplay = {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"};

TEST(WindowPlayOptions, AScriptThatCannotBeReadOrHasABadLineRunsNothingAsInSim) {
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    std::string missing = work.path() + "/missing.txt";
    auto window = runLapvane({"window", "--home", home.path(), "--play", missing}, {}, kNoDisplay);
    auto sim = runLapvane({"sim", "--home", home.path(), missing});
    EXPECT_EQ(window.status, 1);
    EXPECT_EQ(window.status, sim.status);
    EXPECT_EQ(window.err, sim.err) << "the same one line as sim";
    EXPECT_EQ(window.out, "");

    // A good first line that would save a result, then a bad one: nothing runs, nothing is saved.
    std::string bad = work.path() + "/bad.txt";
    std::ofstream(bad) << "launch\ntab stopwatch\nstart\nwait 1\nstop\nsave\nfly away\n";
    window = runLapvane({"window", "--home", home.path(), "--play", bad}, {}, kNoDisplay);
    sim = runLapvane({"sim", "--home", home.path(), bad});
    EXPECT_EQ(window.status, 2);
    EXPECT_EQ(window.status, sim.status);
    EXPECT_NE(window.err.find("error: " + bad + ":7: "), std::string::npos) << window.err;
    EXPECT_EQ(window.err.substr(0, window.err.find('\n')), sim.err.substr(0, sim.err.find('\n')));
    EXPECT_NE(window.err.find("lapvane window: nothing was run"), std::string::npos) << window.err;
    EXPECT_EQ(window.err.find("display"), std::string::npos) << window.err;
    EXPECT_FALSE(std::filesystem::exists(home.path() + "/Library/Preferences/com.varnoth.lapvane.plist"));
}

TEST(WindowPlayOptions, RecordingOverTheScriptBeingPlayedIsRefusedAndTheScriptKept) {
    testing_support::TemporaryDirectory home;
    testing_support::TemporaryDirectory work;
    std::string script = work.path() + "/s.txt";
    const std::string text = "launch\nwait 1\n";
    std::ofstream(script) << text;
    // The same file under another spelling is the same file.
    for (const std::string& record :
         {script, work.path() + "/./s.txt",
          work.path() + "/../" + std::filesystem::path(work.path()).filename().string() + "/s.txt"}) {
        auto run = runLapvane({"window", "--home", home.path(), "--play", script, "--record", record}, {},
                              kNoDisplay);
        EXPECT_EQ(run.status, 1) << record;
        EXPECT_NE(run.err.find("--record"), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(readWholeFile(script), text) << "the script is untouched";
    }
}

TEST(WindowPlayOptions, SpeedWithoutPlaySaysItNeedsPlay) {
    testing_support::TemporaryDirectory home;
    auto run = runLapvane({"window", "--home", home.path(), "--speed", "10"}, {}, kNoDisplay);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("--speed requires --play"), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

} // namespace
