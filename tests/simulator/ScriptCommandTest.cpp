#include "simulator/script/ScriptCommand.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LineCase {
    const char* line;
    /// The command read, or "" for a blank line, or "!" for an error.
    const char* name;
    std::vector<int> numbers = {};
    std::string text = {};
    double seconds = 0;
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.line;
}

class ScriptLineTable : public ::testing::TestWithParam<LineCase> {};

TEST_P(ScriptLineTable, ReadsTheLine) {
    const LineCase& expected = GetParam();
    sim::ParsedLine parsed = sim::parseScriptLine(expected.line);
    if (std::string(expected.name) == "!") {
        EXPECT_FALSE(parsed.command.has_value());
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << "an error is one line";
        return;
    }
    EXPECT_TRUE(parsed.error.empty()) << parsed.error;
    if (std::string(expected.name).empty()) {
        EXPECT_FALSE(parsed.command.has_value());
        return;
    }
    ASSERT_TRUE(parsed.command.has_value());
    EXPECT_EQ(parsed.command->name, expected.name);
    EXPECT_EQ(parsed.command->numbers, expected.numbers);
    EXPECT_EQ(parsed.command->text, expected.text);
    EXPECT_DOUBLE_EQ(parsed.command->seconds, expected.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ScriptLineTable,
    ::testing::Values(
        LineCase{"", ""}, LineCase{"   \t ", ""}, LineCase{"# a comment", ""}, LineCase{"   # indented", ""},
        LineCase{"launch", "launch"}, LineCase{"  launch  ", "launch"}, LineCase{"launch # why", "launch"},
        LineCase{"launch#now", "launch"}, LineCase{"launch now", "!"}, LineCase{"Launch", "!"},
        LineCase{"frobnicate", "!"}, LineCase{"tab saved", "tab"}, LineCase{"tab 5", "tab"},
        LineCase{"tab 6", "!"}, LineCase{"tab 0", "!"}, LineCase{"tab", "!"},
        LineCase{"tab world alarm", "!"}, LineCase{"wait 0.1", "wait", {}, {}, 0.1},
        LineCase{"wait 30", "wait", {}, {}, 30}, LineCase{"wait -1", "!"},
        LineCase{"wait 1e3", "wait", {}, {}, 1000}, LineCase{"wait +5", "wait", {}, {}, 5},
        LineCase{"wait 1e10", "!"}, LineCase{"wait inf", "!"}, LineCase{"wait +-1", "!"},
        LineCase{"wait nan", "!"}, LineCase{"wait", "!"}, LineCase{"wait 2s", "!"},
        LineCase{"wait 1000000000", "wait", {}, {}, 1e9}, LineCase{"wait 1000000001", "!"},
        LineCase{"tap 0 1", "tap", {0, 1}}, LineCase{"tap 0", "!"}, LineCase{"tap 0 1 2", "!"},
        LineCase{"tap -1 0", "!"}, LineCase{"tap a b", "!"}, LineCase{"tap 0x1 0", "!"},
        LineCase{"move 0 1 1 0", "move", {0, 1, 1, 0}}, LineCase{"move 0 1 1", "!"},
        LineCase{"delete 2 3 # the third", "delete", {2, 3}}, LineCase{"swipe 0 0", "swipe", {0, 0}},
        LineCase{"unswipe", "unswipe"}, LineCase{"type Work", "type", {}, "Work"},
        LineCase{"type  two  blanks ", "type", {}, " two  blanks "}, LineCase{"type", "type", {}, ""},
        LineCase{"type ", "type", {}, ""}, LineCase{"type #1 and # more", "type", {}, "#1 and # more"},
        LineCase{"type\tWork", "!"}, LineCase{"button Add", "button", {}, "Add"}, LineCase{"button", "!"},
        LineCase{"button Dismiss \t", "button", {}, "Dismiss"}, LineCase{"button   ", "!"},
        LineCase{"button Add Section", "button", {}, "Add Section"},
        LineCase{"launch-image com.apple.mobilesafari", "launch-image"}, LineCase{"launch-image", "!"},
        LineCase{"screen", "screen"}, LineCase{"dump", "dump"}, LineCase{"dump all", "!"}),
    testing_support::PrintedName());

TEST(ScriptCommandNames, ListsEveryCommand) {
    const auto& names = sim::commandNames();
    for (const char* name : {"launch",  "quit",   "launch-image", "tab",  "start",  "stop",   "lap", "reset",
                             "save",    "wait",   "tap",          "back", "edit",   "done",   "add", "swipe",
                             "unswipe", "delete", "move",         "type", "button", "screen", "dump"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
}

} // namespace
