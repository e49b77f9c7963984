#pragma once
// The main thread's run loop: a queue of timers on the device's virtual clock. Delayed messages
// (`performSelector:withObject:afterDelay:`) and the platform's own deferred steps (the end of an
// animation, a navigation bar's pop) wait here and are delivered only when the run loop is run,
// in fire-time order and, for equal times, in the order they were scheduled. A timer never runs
// inside the call that scheduled it, even with a delay of 0.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/runtime/Forward.h"
#include "platform/runtime/Selector.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

/// The run loop of the device's main thread.
class NSRunLoop {
  public:
    /// A scheduled timer, as inspectors see it.
    struct Pending {
        std::uint64_t token = 0;
        NSTimeInterval fireTime = 0;
        /// The selector of a delayed message, or the name of a platform step.
        std::string selector;
        /// The receiver of a delayed message, or the object a platform step belongs to (may be nil).
        id target;
        /// The argument of a delayed message (nil for none and for platform steps).
        id argument;
        /// True for a delayed message, false for a platform step.
        bool isMessage = false;
    };

    explicit NSRunLoop(ns::VirtualClock& clock) : clock_(&clock) {}
    NSRunLoop(const NSRunLoop&) = delete;
    NSRunLoop& operator=(const NSRunLoop&) = delete;

    /// The run loop in force: the innermost Scope's, else a process default with its own clock.
    static NSRunLoop& currentRunLoop();
    /// The main thread's run loop; the device has only the one thread, so the same as current.
    static NSRunLoop& mainRunLoop() { return currentRunLoop(); }

    /// Puts a run loop in force for its lifetime, restoring the previous one after.
    class Scope {
      public:
        explicit Scope(NSRunLoop& runLoop);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        NSRunLoop* previous_;
    };

    /// The clock the timers run on.
    [[nodiscard]] ns::VirtualClock& clock() const { return *clock_; }
    /// The clock's current moment.
    [[nodiscard]] NSTimeInterval now() const { return clock_->now(); }

    /// Schedules a delayed message; the target and argument are kept alive until it fires or is
    /// cancelled. Returns its token.
    std::uint64_t scheduleMessage(id target, SEL selector, id argument, NSTimeInterval delay);
    /// Schedules a platform step (run in place of a message); `owner` is kept alive with it.
    std::uint64_t scheduleStep(NSTimeInterval delay, std::string name, id owner, std::function<void()> step);
    /// Removes one timer; false when it already fired or was removed.
    bool cancel(std::uint64_t token);
    /// Removes the delayed messages to `target`, limited to `selector` and to arguments equal to
    /// `argument` (isEqual:, nil matching nil) when those are given. Returns how many went.
    std::size_t cancelMessages(const id& target, std::optional<SEL> selector = std::nullopt,
                               std::optional<id> argument = std::nullopt);

    /// Every timer still waiting, earliest first.
    [[nodiscard]] std::vector<Pending> pending() const;
    /// The fire time of the earliest timer, if any.
    [[nodiscard]] std::optional<NSTimeInterval> nextFireTime() const;

    /// Runs the loop until `moment`: delivers, in order, every timer due by then (including
    /// those scheduled while running), moving the clock to each one's fire time, and leaves the
    /// clock at `moment`. Returns how many were delivered.
    std::size_t runUntil(NSTimeInterval moment);
    /// runUntil(now + seconds).
    std::size_t runFor(NSTimeInterval seconds) { return runUntil(now() + seconds); }
    /// One pass without moving the clock: delivers what is due now.
    std::size_t runOnce() { return runUntil(now()); }
    /// Runs until no timer is left, up to `limit` seconds from now. Returns how many were delivered.
    std::size_t runUntilIdle(NSTimeInterval limit = 3600);

    /// Adds work done at the end of every pass (after each delivered timer and at the end of
    /// each run), as the platform commits drawing before it waits; returns a token.
    std::uint64_t addPassObserver(std::function<void()> observer);
    void removePassObserver(std::uint64_t token);

  private:
    struct Entry {
        Pending info;
        std::function<void()> step;
    };
    using Key = std::pair<NSTimeInterval, std::uint64_t>;

    void deliver(Entry entry);
    void endPass();

    ns::VirtualClock* clock_;
    std::map<Key, Entry> timers_;
    std::uint64_t nextToken_ = 1;
    std::vector<std::pair<std::uint64_t, std::function<void()>>> observers_;
};
