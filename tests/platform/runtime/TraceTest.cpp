// The trace: one line on standard error for each event, tagged with its channel, and nothing
// at all from a channel that is off.

#include "platform/runtime/Trace.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

namespace {

// Standard error, captured for the life of the object.
class CapturedErrors {
  public:
    CapturedErrors() : previous_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CapturedErrors() { std::cerr.rdbuf(previous_); }
    CapturedErrors(const CapturedErrors&) = delete;
    CapturedErrors& operator=(const CapturedErrors&) = delete;
    [[nodiscard]] std::string text() const { return text_.str(); }

  private:
    std::ostringstream text_;
    std::streambuf* previous_;
};

const rt::Msg<int()> answerMessage{"answer"};

class Answerer : public NSObject {
  public:
    static constexpr const char* kClassName = "Answerer";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) { b.method<&Answerer::answer>(answerMessage); }
    int answer() { return 42; }
};

// Each word of LAPVANE_TRACE against the channels it turns on: send, hooks, runloop, store,
// frames.
TEST(Trace, TheSwitchesTurnOnTheChannelsNamed) {
    struct Case {
        const char* value;
        bool send, hooks, runLoop, store, frames;
    };
    const Case cases[] = {
        {"", false, false, false, false, false},
        {"send", true, false, false, false, false},
        {"hooks", false, true, false, false, false},
        {"runloop", false, false, true, false, false},
        {"store", false, false, false, true, false},
        {"all", true, true, true, true, true},
        {"store,send", true, false, false, true, false},
        {"frames", false, false, false, false, true},
        {"frame,frames,", false, false, false, false, true},
        {",hooks,", false, true, false, false, false},
        {"sends,Hooks", false, false, false, false, false},
        {"runloop,all", true, true, true, true, true},
    };
    for (const Case& c : cases) {
        const rt::trace::Switches s = rt::trace::parseSwitches(c.value);
        EXPECT_EQ(s.send, c.send) << '"' << c.value << '"';
        EXPECT_EQ(s.hooks, c.hooks) << '"' << c.value << '"';
        EXPECT_EQ(s.runLoop, c.runLoop) << '"' << c.value << '"';
        EXPECT_EQ(s.store, c.store) << '"' << c.value << '"';
        EXPECT_EQ(s.frames, c.frames) << '"' << c.value << '"';
    }
}

TEST(Trace, EachChannelTagsItsLines) {
    using rt::trace::Channel;
    const std::pair<Channel, const char*> cases[] = {
        {Channel::Send, "[send] text\n"},       {Channel::Hooks, "[hooks] text\n"},
        {Channel::RunLoop, "[runloop] text\n"}, {Channel::Store, "[store] text\n"},
        {Channel::Frames, "[frame] text\n"},
    };
    for (const auto& [channel, expected] : cases) {
        CapturedErrors errors;
        rt::trace::log(channel, "text");
        EXPECT_EQ(errors.text(), expected);
    }
}

TEST(Trace, MessagesSentWhileTheSendTraceIsOffWriteNothing) {
    if (rt::trace::enabled(rt::trace::Channel::Send)) {
        GTEST_SKIP() << "LAPVANE_TRACE turns the send trace on in this run";
    }
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    auto answerer = rt::make<Answerer>();
    CapturedErrors errors;
    EXPECT_EQ(rt::send(answerer, answerMessage), 42);
    EXPECT_EQ(errors.text(), "");
}

} // namespace
