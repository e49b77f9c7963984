#include "simulator/script/Simulator.h"

#include "simulator/scene/Inspector.h"

#include "hosts/clock/StopWatchViewController.h"
#include "platform/foundation/NSNumber.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "tests/simulator/SimulatorFixture.h"
#include "tests/support/CaseName.h"

#include <algorithm>
#include <string>

namespace {

using testing_support::SimulatorTest;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        all.push_back(line);
    }
    return all;
}

TEST_F(SimulatorTest, TheStopwatchScriptRunsAndTheSettingsFollowIt) {
    int status = run(R"(launch
tab stopwatch
start
wait 30.04
lap
wait 30.03
lap
wait 15.36
stop
)");
    EXPECT_EQ(status, sim::kExitOk) << err.str();
    EXPECT_EQ(lines(out.str()).front(), "launch image: Default.png");
    auto settings = clockSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_NEAR(settings->objectAs<NSNumber>("LASTTIME")->doubleValue(), 75.43, 1e-9);
    EXPECT_EQ(settings->objectAs<NSNumber>("LAST_SELECTED_VIEW")->integerValue(), 3);

    nlohmann::json state = dump();
    EXPECT_DOUBLE_EQ(state["time"].get<double>(), 75.43);
    EXPECT_EQ(state["app"], "clock");
    EXPECT_EQ(state["tab"]["index"], 2);
    EXPECT_EQ(state["tab"]["titles"], nlohmann::json({"World Clock", "Alarm", "Stopwatch", "Timer"}));
    EXPECT_EQ(state["stopwatch"]["running"], false);
    ASSERT_EQ(state["stopwatch"]["laps"].size(), 2u);
    EXPECT_NEAR(state["stopwatch"]["laps"][0].get<double>(), 30.04, 1e-9);
    EXPECT_TRUE(state["stopwatch"]["save_button"].is_null());
    EXPECT_TRUE(state["saved"].is_null());
    EXPECT_EQ(state["alerts"], nlohmann::json::array());
    EXPECT_EQ(state["launch_image"], "Default.png");

    ASSERT_EQ(run("reset\ntab timer\nquit\nlaunch\n"), sim::kExitOk) << err.str();
    settings = clockSettings();
    EXPECT_EQ(settings->objectAs<NSNumber>("LASTTIME")->doubleValue(), 0.0);
    EXPECT_EQ(settings->objectAs<NSNumber>("LAST_SELECTED_VIEW")->integerValue(), 4);
    state = dump();
    EXPECT_EQ(state["tab"]["index"], 3) << "the relaunched application shows the tab last shown";
    EXPECT_EQ(state["stopwatch"]["laps"], nlohmann::json::array());
}

TEST_F(SimulatorTest, ABadLineIsOneErrorLineAndTheSessionGoesOn) {
    int status = run("launch\nfrobnicate\ntap 0\ntab stopwatch\nstop\nstart\nwait 2\n");
    EXPECT_EQ(status, sim::kExitRejectedLines);
    std::vector<std::string> errors = lines(err.str());
    ASSERT_EQ(errors.size(), 3u) << err.str();
    EXPECT_EQ(errors[0].rfind("error: test:2: ", 0), 0u) << errors[0];
    EXPECT_EQ(errors[1].rfind("error: test:3: ", 0), 0u) << errors[1];
    EXPECT_EQ(errors[2].rfind("error: test:5: ", 0), 0u) << errors[2];
    EXPECT_EQ(dump()["stopwatch"]["running"], true) << "the lines after the errors ran";
}

struct RefusedCase {
    const char* script;
    const char* because;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    // The script's lines, one after the other.
    std::string lines = c.script;
    std::replace(lines.begin(), lines.end(), '\n', ' ');
    *out << lines.substr(0, lines.find_last_not_of(' ') + 1);
}

class SimulatorRefusals : public SimulatorTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(SimulatorRefusals, ACommandThatCannotBeCarriedOutIsAnErrorLine) {
    EXPECT_EQ(run(GetParam().script), sim::kExitRejectedLines);
    std::vector<std::string> errors = lines(err.str());
    ASSERT_EQ(errors.size(), 1u) << err.str();
    EXPECT_NE(errors[0].find(GetParam().because), std::string::npos) << errors[0];
}

INSTANTIATE_TEST_SUITE_P(Cases, SimulatorRefusals,
                         ::testing::Values(RefusedCase{"start\n", "not running"},
                                           RefusedCase{"launch\nlaunch\n", "already running"},
                                           RefusedCase{"quit\n", "not running"},
                                           RefusedCase{"launch\nstart\n", "not on screen"},
                                           RefusedCase{"launch\ntab saved\n", "no \"Saved\" tab"},
                                           RefusedCase{"launch\ntab 5\n", "no tab 5"},
                                           RefusedCase{"launch\ntab stopwatch\nsave\n", "no Save button"},
                                           RefusedCase{"launch\ntab stopwatch\nlap\n", "no Lap button"},
                                           RefusedCase{"launch\nedit\n", "Saved tab is not on screen"},
                                           RefusedCase{"launch\nbutton OK\n", "no alert"},
                                           RefusedCase{"launch\ntype x\n", "no alert"},
                                           RefusedCase{"launch-image com.example.none\n", "no application"}),
                         testing_support::PrintedName());

TEST_F(SimulatorTest, AFaultInsideTheSystemEndsTheSessionWithAFailure) {
    // A replacement that raises, as a faulty hooking library might.
    Method start = objc_getClass("StopWatchViewController")->ownMethod(sel_registerName("_startTimer"));
    ASSERT_NE(start, nullptr);
    method_setImplementation(start, rt::imp<void()>([](const id&, SEL) {
                                 throw NSException(NSInternalInconsistencyException, "broken on purpose");
                             }));
    int status = run("launch\ntab stopwatch\nstart\ndump\n");
    EXPECT_EQ(status, sim::kExitFault);
    EXPECT_EQ(err.str(), "fault: test:3: NSInternalInconsistencyException: broken on purpose\n");
    EXPECT_EQ(out.str().find("\"time\""), std::string::npos) << "nothing runs after a fault";
}

TEST_F(SimulatorTest, ReadingTheStateLoadsNoViewOfATabNotYetShown) {
    ASSERT_EQ(run("launch\nscreen\n"), sim::kExitOk) << err.str();
    nlohmann::json state = dump();
    EXPECT_TRUE(state["stopwatch"]["save_button"].is_null());
    auto stopwatch = sim::Inspector(*device).stopwatch();
    ASSERT_NE(stopwatch, nullptr);
    EXPECT_FALSE(stopwatch->isViewLoaded());
}

TEST_F(SimulatorTest, LaunchImageAsksSpringBoardForAnyInstalledApplication) {
    ASSERT_EQ(run("launch-image com.apple.mobilesafari\n"), sim::kExitOk);
    EXPECT_EQ(out.str(), "launch image: Default.png\n");
    EXPECT_EQ(dump()["launch_image"], "Default.png");
}

TEST_F(SimulatorTest, WaitMovesTheVirtualClockOnly) {
    ASSERT_EQ(run("wait 1.5\nwait 0\nwait 2.25\n"), sim::kExitOk);
    nlohmann::json state = dump();
    EXPECT_DOUBLE_EQ(state["time"].get<double>(), 3.75);
    EXPECT_TRUE(state["app"].is_null());
    EXPECT_TRUE(state["tab"].is_null());
    EXPECT_TRUE(state["stopwatch"].is_null());
    EXPECT_TRUE(state["launch_image"].is_null());
}

TEST_F(SimulatorTest, ScreenShowsTheStopwatchForAPerson) {
    ASSERT_EQ(run("launch\ntab stopwatch\nstart\nwait 65.2\nlap\nwait 1\nscreen\n"), sim::kExitOk);
    std::string screen = out.str();
    EXPECT_NE(screen.find("Clock > Stopwatch"), std::string::npos) << screen;
    EXPECT_NE(screen.find("01:06.2"), std::string::npos) << screen;
    EXPECT_NE(screen.find("[Stop]"), std::string::npos) << screen;
    EXPECT_NE(screen.find("[Lap]"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Lap 1"), std::string::npos) << screen;
    EXPECT_NE(screen.find("[Stopwatch]"), std::string::npos) << screen;
}

} // namespace
