#include "platform/foundation/NSRunLoop.h"

#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/PerformSelector.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"
#include "platform/runtime/Trace.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const rt::Msg<void()> pingMessage{"ping"};
const rt::Msg<void(id)> takeMessage{"take:"};
const rt::Msg<void()> chainMessage{"chain"};
const rt::Msg<id(id, id)> secondMessage{"first:second:"};

// Records what it receives and when, as an app object receiving delayed messages would.
class Receiver : public NSObject {
  public:
    static constexpr const char* kClassName = "RunLoopTestReceiver";
    using Super = NSObject;
    static void describe(rt::ClassBuilder& b) {
        b.method<&Receiver::ping>(pingMessage);
        b.method<&Receiver::take>(takeMessage);
        b.method<&Receiver::chain>(chainMessage);
        b.method<&Receiver::second>(secondMessage);
    }

    std::vector<std::string>* log = nullptr;
    void ping() { log->push_back("ping@" + std::to_string(NSRunLoop::currentRunLoop().now())); }
    void take(id argument) {
        auto path = rt::cast<NSIndexPath>(argument);
        log->push_back("take:" + (path ? std::to_string(path->row()) : std::string("nil")) + "@" +
                       std::to_string(NSRunLoop::currentRunLoop().now()));
    }
    id second(id, id two) { return two; }
    // Schedules another message with no delay while being delivered.
    void chain() {
        log->push_back("chain");
        performSelectorWithObjectAfterDelay(self(), sel_registerName("ping"), nullptr, 0);
    }
};

class NSRunLoopTest : public ::testing::Test {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    ns::VirtualClock clock;
    NSRunLoop loop{clock};
    NSRunLoop::Scope loopScope{loop};
    std::vector<std::string> log;

    std::shared_ptr<Receiver> receiver() {
        auto r = rt::make<Receiver>();
        r->log = &log;
        return r;
    }
};

TEST_F(NSRunLoopTest, DelayedMessagesArriveInTimeOrderAndNeverEarly) {
    auto r = receiver();
    performSelectorWithObjectAfterDelay(r, sel_registerName("take:"),
                                        NSIndexPath::indexPathForRowInSection(2, 0), 0.3);
    performSelectorWithObjectAfterDelay(r, sel_registerName("ping"), nullptr, 0.1);
    performSelectorWithObjectAfterDelay(r, sel_registerName("take:"),
                                        NSIndexPath::indexPathForRowInSection(1, 0), 0.1);
    EXPECT_TRUE(log.empty()) << "a delayed message never runs inside the call";

    EXPECT_EQ(loop.runFor(0.05), 0u);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(loop.runFor(0.05), 2u);
    // Equal fire times keep the order the messages were scheduled in.
    EXPECT_EQ(log, (std::vector<std::string>{"ping@0.100000", "take:1@0.100000"}));
    loop.runFor(1);
    EXPECT_EQ(log.back(), "take:2@0.300000");
    EXPECT_DOUBLE_EQ(clock.now(), 1.1);
}

TEST_F(NSRunLoopTest, RunningUntilIdleCountsWhatItDeliveredWithinItsLimit) {
    auto r = receiver();
    EXPECT_EQ(loop.runUntilIdle(), 0u) << "nothing pending";
    performSelectorWithObjectAfterDelay(r, sel_registerName("ping"), nullptr, 0.1);
    performSelectorWithObjectAfterDelay(r, sel_registerName("chain"), nullptr, 0.2);
    performSelectorWithObjectAfterDelay(r, sel_registerName("ping"), nullptr, 5000);
    EXPECT_EQ(loop.runUntilIdle(), 3u) << "two, and the ping the chain sends";
    EXPECT_EQ(log.size(), 3u);
    EXPECT_EQ(loop.runUntilIdle(10), 0u) << "the last is beyond the limit";
}

// Sent at once, a method's object result comes back; a method without one gives nil.
TEST_F(NSRunLoopTest, PerformingAtOnceReturnsTheObjectResult) {
    auto r = receiver();
    auto one = NSIndexPath::indexPathForRowInSection(1, 0);
    auto two = NSIndexPath::indexPathForRowInSection(2, 0);
    EXPECT_EQ(performSelectorWithObjectWithObject(r, sel_registerName("first:second:"), one, two), two);
    EXPECT_EQ(performSelectorWithObject(r, sel_registerName("take:"), one), nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"take:1@0.000000"});
}

TEST_F(NSRunLoopTest, AZeroDelayWaitsForTheNextPass) {
    auto r = receiver();
    performSelectorWithObjectAfterDelay(r, sel_registerName("chain"), nullptr, 0);
    EXPECT_TRUE(log.empty());
    // A message scheduled while delivering is delivered in a later pass of the same run.
    EXPECT_EQ(loop.runOnce(), 2u);
    EXPECT_EQ(log, (std::vector<std::string>{"chain", "ping@0.000000"}));
}

TEST_F(NSRunLoopTest, PendingMessagesKeepTargetAndArgumentAlive) {
    std::weak_ptr<NSObject> target;
    std::weak_ptr<NSObject> argument;
    {
        auto r = receiver();
        auto path = NSIndexPath::indexPathForRowInSection(7, 1);
        target = r;
        argument = path;
        performSelectorWithObjectAfterDelay(r, sel_registerName("take:"), path, 0.3);
    }
    ASSERT_FALSE(target.expired());
    ASSERT_FALSE(argument.expired());
    {
        auto pending = loop.pending();
        ASSERT_EQ(pending.size(), 1u);
        EXPECT_EQ(pending[0].selector, "take:");
        EXPECT_DOUBLE_EQ(pending[0].fireTime, 0.3);
        EXPECT_EQ(pending[0].target, target.lock());
    }
    loop.runFor(0.3);
    EXPECT_EQ(log, (std::vector<std::string>{"take:7@0.300000"}));
    EXPECT_TRUE(target.expired());
    EXPECT_TRUE(argument.expired());
}

TEST_F(NSRunLoopTest, CancellingMatchesTargetSelectorAndEqualArgument) {
    auto r = receiver();
    auto other = receiver();
    performSelectorWithObjectAfterDelay(r, sel_registerName("take:"),
                                        NSIndexPath::indexPathForRowInSection(1, 0), 0.1);
    performSelectorWithObjectAfterDelay(r, sel_registerName("take:"),
                                        NSIndexPath::indexPathForRowInSection(2, 0), 0.1);
    performSelectorWithObjectAfterDelay(r, sel_registerName("ping"), nullptr, 0.1);
    performSelectorWithObjectAfterDelay(other, sel_registerName("ping"), nullptr, 0.1);
    // An equal (not identical) argument matches, as isEqual: does.
    cancelPreviousPerformRequestsWithTargetSelectorObject(r, sel_registerName("take:"),
                                                          NSIndexPath::indexPathForRowInSection(1, 0));
    EXPECT_EQ(loop.pending().size(), 3u);
    cancelPreviousPerformRequestsWithTarget(r);
    EXPECT_EQ(loop.pending().size(), 1u);
    loop.runFor(1);
    EXPECT_EQ(log, (std::vector<std::string>{"ping@0.100000"}));
}

TEST_F(NSRunLoopTest, AnUnknownSelectorRaisesWhenDeliveredNotWhenScheduled) {
    auto r = receiver();
    performSelectorWithObjectAfterDelay(r, sel_registerName("missing"), nullptr, 0.1);
    try {
        loop.runFor(1);
        FAIL() << "expected an exception";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), NSInvalidArgumentException);
        EXPECT_NE(e.reason().find("unrecognized selector"), std::string::npos);
    }
}

TEST_F(NSRunLoopTest, PlatformStepsAndPassObserversRunWithTheLoop) {
    std::vector<std::string> order;
    loop.scheduleStep(0.2, "step", nullptr, [&] { order.push_back("step"); });
    loop.addPassObserver([&] { order.push_back("pass"); });
    loop.runFor(0.1);
    EXPECT_EQ(order, (std::vector<std::string>{"pass"}));
    loop.runFor(0.1);
    EXPECT_EQ(order, (std::vector<std::string>{"pass", "step", "pass", "pass"}));
}

// With the run-loop trace off, scheduling and delivering write nothing on standard error.
TEST_F(NSRunLoopTest, WithTheTraceOffNothingIsWritten) {
    if (rt::trace::enabled(rt::trace::Channel::RunLoop)) {
        GTEST_SKIP() << "LAPVANE_TRACE turns the run-loop trace on in this run";
    }
    std::ostringstream errors;
    std::streambuf* previous = std::cerr.rdbuf(errors.rdbuf());
    performSelectorWithObjectAfterDelay(receiver(), sel_registerName("ping"), nullptr, 0.5);
    loop.runFor(1);
    std::cerr.rdbuf(previous);
    EXPECT_EQ(log, (std::vector<std::string>{"ping@0.500000"}));
    EXPECT_EQ(errors.str(), "");
}

TEST_F(NSRunLoopTest, CancellingByTokenSaysWhetherTheMessageWasStillPending) {
    const std::uint64_t token = loop.scheduleMessage(receiver(), sel_registerName("ping"), nullptr, 1);
    EXPECT_TRUE(loop.cancel(token));
    EXPECT_FALSE(loop.cancel(token)) << "already gone";
    loop.runFor(2);
    EXPECT_TRUE(log.empty());
}

TEST(MethodShape, NoEncodingHasNoShape) {
    EXPECT_EQ(ns::methodShape(nullptr).arguments, -1);
    EXPECT_EQ(ns::methodShape("").arguments, -1);
}

TEST(VirtualClock, NeverRunsBackwards) {
    ns::VirtualClock clock(5);
    clock.advanceBy(1);
    EXPECT_DOUBLE_EQ(clock.now(), 6);
    EXPECT_THROW(clock.advanceTo(5.5), NSException);
}

struct ShapeCase {
    const char* types;
    int arguments;
    bool returnsVoid;
};

void PrintTo(const ShapeCase& c, std::ostream* out) {
    *out << '"' << c.types << '"';
}

class MethodShapeTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(MethodShapeTest, CountsArgumentsAfterSelfAndCmd) {
    ns::MethodShape shape = ns::methodShape(GetParam().types);
    EXPECT_EQ(shape.arguments, GetParam().arguments);
    EXPECT_EQ(shape.returnsVoid, GetParam().returnsVoid);
}

INSTANTIATE_TEST_SUITE_P(Encodings, MethodShapeTest,
                         ::testing::Values(ShapeCase{"v@:", 0, true}, ShapeCase{"v@:@", 1, true},
                                           ShapeCase{"v12@0:4@8", 1, true}, ShapeCase{"v@:@@", 2, true},
                                           ShapeCase{"@@:", 0, false},
                                           ShapeCase{"v@:{CGRect={CGPoint=ff}{CGSize=ff}}", 1, true},
                                           // A struct, an array or a union before another argument
                                           // ends at its own closing bracket.
                                           ShapeCase{"v@:{CGPoint=ff}@", 2, true},
                                           ShapeCase{"v@:[4i]@", 2, true}, ShapeCase{"v@:(U=if)@", 2, true},
                                           // Too short to name self and _cmd.
                                           ShapeCase{"v@", -1, true}, ShapeCase{"", -1, false}),
                         [](const auto& info) {
                             // The encoding's characters spelled out: '@' an object, ':' the selector.
                             std::string spelled;
                             for (const char* c = info.param.types; *c != '\0'; ++c) {
                                 spelled += *c == '@'   ? std::string("_id_")
                                            : *c == ':' ? std::string("_sel_")
                                                        : std::string(1, *c);
                             }
                             return testing_support::caseName(spelled);
                         });

} // namespace
