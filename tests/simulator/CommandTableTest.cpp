// The one table of simulator commands: what it promises to help and completion, and that every
// entry's screen requirements keep its handler from acting on something that is not there.

#include "simulator/script/CommandTable.h"
#include "simulator/script/ScriptCommand.h"

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

TEST(CommandTable, EveryCommandHasOneEntryAndOneHelpLineShowingItsArguments) {
    std::set<std::string> names;
    std::string help = sim::helpText();
    for (const auto& entry : sim::commandTable()) {
        EXPECT_TRUE(names.insert(entry.name).second) << "two entries for " << entry.name;
        EXPECT_EQ(entry.argumentsUsage.empty(), entry.arguments.kind == sim::ArgumentShape::Kind::None)
            << "the usage line shows the arguments of " << entry.name;
        EXPECT_NE(entry.handler, nullptr) << entry.name;
        EXPECT_NE(help.find("\n  " + entry.usage() + "  "), std::string::npos) << entry.name << " in\n"
                                                                               << help;
    }
    // A heading, a line a command, and how to leave.
    EXPECT_EQ(std::count(help.begin(), help.end(), '\n'), static_cast<long>(names.size()) + 2);
    EXPECT_NE(help.find("Ctrl-D"), std::string::npos);
}

struct CompletionCase {
    const char* name;
    const char* before;
    std::vector<std::string> offered;
    std::vector<std::string> notOffered;
};

void PrintTo(const CompletionCase& c, std::ostream* out) {
    *out << c.name << " (\"" << c.before << "\")";
}

class CommandCompletion : public ::testing::TestWithParam<CompletionCase> {};

TEST_P(CommandCompletion, OffersWhatTheWordThereCanBe) {
    const auto& candidates = sim::completionCandidates(GetParam().before);
    for (const auto& word : GetParam().offered) {
        EXPECT_NE(std::find(candidates.begin(), candidates.end(), word), candidates.end()) << word;
    }
    for (const auto& word : GetParam().notOffered) {
        EXPECT_EQ(std::find(candidates.begin(), candidates.end(), word), candidates.end()) << word;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandCompletion,
    ::testing::Values(
        CompletionCase{"FirstWord", "", {"launch", "launch-image", "tab", "move", "help"}, {"saved"}},
        CompletionCase{"FirstWordAfterBlanks", "  ", {"tab", "type"}, {"world"}},
        CompletionCase{"TabName", "tab ", {"world", "stopwatch", "saved", "5"}, {"tab", "6"}},
        CompletionCase{"TabNameAfterATab", " tab\t", {"saved"}, {}},
        CompletionCase{"AfterTheTabName", "tab saved ", {}, {"saved", "tab"}},
        CompletionCase{"Seconds", "wait ", {}, {"wait", "saved"}},
        CompletionCase{"Text", "type ", {}, {"saved", "launch"}},
        CompletionCase{"UnknownCommand", "frobnicate ", {}, {"saved", "launch"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Arguments of the right shape for a command, so that its line reaches the screen checks. The
// picture's file lies inside `folder`, never beside the test.
std::string sampleLine(const sim::CommandSpec& entry, const std::string& folder) {
    using Kind = sim::ArgumentShape::Kind;
    const auto& shape = entry.arguments;
    switch (shape.kind) {
    case Kind::None:
        return entry.name;
    case Kind::Word:
        if (entry.name == "shot") {
            return entry.name + " " + folder + "/screen.png";
        }
        return entry.name + " " + (shape.choices.empty() ? "com.apple.mobiletimer" : shape.choices.front());
    case Kind::Numbers: {
        std::string line = entry.name;
        for (int i = 0; i < shape.count; ++i) {
            line += " 0";
        }
        return line;
    }
    case Kind::Seconds:
        return entry.name + " 0.5";
    case Kind::Text:
    case Kind::OptionalText:
        return entry.name + " OK";
    }
    return entry.name;
}

struct ScreenState {
    const char* name;
    const char* script;
};

void PrintTo(const ScreenState& state, std::ostream* out) {
    *out << state.name;
}

class EveryCommandOnEveryScreen : public ::testing::TestWithParam<ScreenState> {};

// A command whose requirements say too little would reach its handler without what the handler
// acts on (no stopwatch screen, no saved-times table) and crash the program or raise a fault.
// Each command runs once on each screen, with the add-on loaded; a refusal is fine, a fault not.
TEST_P(EveryCommandOnEveryScreen, IsCarriedOutOrRefusedButNeverFaults) {
    testing_support::TemporaryDirectory home;
    std::string script;
    for (const auto& entry : sim::commandTable()) {
        script += std::string("quit\n") + GetParam().script + sampleLine(entry, home.path()) + "\n";
    }
    auto run = testing_support::runLapvane(
        {"sim", "--home", home.path(), "--now", "2026-12-07T08:00:00Z", "--tz", "UTC"}, script);
    EXPECT_TRUE(run.status == 0 || run.status == 2) << run.status << "\n" << run.err;
    EXPECT_EQ(run.err.find("fault:"), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Screens, EveryCommandOnEveryScreen,
    ::testing::Values(ScreenState{"NothingRunning", ""}, ScreenState{"FirstTab", "launch\ntab 1\n"},
                      ScreenState{"StoppedStopwatch", "launch\ntab stopwatch\nreset\nstart\nwait 1\nstop\n"},
                      ScreenState{"SavedTab", "launch\ntab saved\n"},
                      ScreenState{"SavedTabAfterASave",
                                  "launch\ntab stopwatch\nreset\nstart\nwait 1\nstop\nsave\ntab saved\n"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
