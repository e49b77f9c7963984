#include "platform/foundation/NSRunLoop.h"

#include "platform/foundation/PerformSelector.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/ObjcClass.h"
#include "platform/runtime/Trace.h"

#include <sstream>

namespace {

NSRunLoop*& scopedRunLoop() {
    static NSRunLoop* current = nullptr;
    return current;
}

// A run that delivers this many timers without reaching its end moment is a timer that keeps
// rescheduling itself at the same moment; the phone would hang, a test should fail instead.
constexpr std::size_t kMaxDeliveriesPerRun = 100000;

std::string describeTarget(const id& target) {
    return target && target->isa() ? target->isa()->name : std::string("nil");
}

} // namespace

NSRunLoop& NSRunLoop::currentRunLoop() {
    if (NSRunLoop* scoped = scopedRunLoop()) {
        return *scoped;
    }
    static ns::VirtualClock processClock;
    static NSRunLoop processDefault(processClock);
    return processDefault;
}

NSRunLoop::Scope::Scope(NSRunLoop& runLoop) : previous_(scopedRunLoop()) {
    scopedRunLoop() = &runLoop;
}

NSRunLoop::Scope::~Scope() {
    scopedRunLoop() = previous_;
}

std::uint64_t NSRunLoop::scheduleMessage(id target, SEL selector, id argument, NSTimeInterval delay) {
    std::uint64_t token = nextToken_++;
    Entry entry;
    entry.info = Pending{
        token, now() + (delay > 0 ? delay : 0), selector.name(), std::move(target), std::move(argument),
        true};
    if (rt::trace::enabled(rt::trace::Channel::RunLoop)) {
        std::ostringstream line;
        line << "schedule -[" << describeTarget(entry.info.target) << " " << entry.info.selector << "] at "
             << entry.info.fireTime;
        rt::trace::log(rt::trace::Channel::RunLoop, line.str());
    }
    Key key{entry.info.fireTime, token};
    timers_.emplace(key, std::move(entry));
    return token;
}

std::uint64_t NSRunLoop::scheduleStep(NSTimeInterval delay, std::string name, id owner,
                                      std::function<void()> step) {
    std::uint64_t token = nextToken_++;
    Entry entry;
    entry.info =
        Pending{token, now() + (delay > 0 ? delay : 0), std::move(name), std::move(owner), nullptr, false};
    entry.step = std::move(step);
    Key key{entry.info.fireTime, token};
    timers_.emplace(key, std::move(entry));
    return token;
}

bool NSRunLoop::cancel(std::uint64_t token) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.info.token == token) {
            timers_.erase(it);
            return true;
        }
    }
    return false;
}

std::size_t NSRunLoop::cancelMessages(const id& target, std::optional<SEL> selector,
                                      std::optional<id> argument) {
    std::size_t removed = 0;
    for (auto it = timers_.begin(); it != timers_.end();) {
        const Pending& info = it->second.info;
        bool matches = info.isMessage && info.target == target;
        if (matches && selector) {
            matches = info.selector == selector->name();
        }
        if (matches && argument) {
            const id& wanted = *argument;
            matches =
                (!wanted && !info.argument) ||
                (wanted && info.argument && (wanted == info.argument || wanted->isEqual(*info.argument)));
        }
        if (matches) {
            it = timers_.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    return removed;
}

std::vector<NSRunLoop::Pending> NSRunLoop::pending() const {
    std::vector<Pending> out;
    out.reserve(timers_.size());
    for (const auto& [key, entry] : timers_) {
        out.push_back(entry.info);
    }
    return out;
}

std::optional<NSTimeInterval> NSRunLoop::nextFireTime() const {
    if (timers_.empty()) {
        return std::nullopt;
    }
    return timers_.begin()->first.first;
}

void NSRunLoop::deliver(Entry entry) {
    if (rt::trace::enabled(rt::trace::Channel::RunLoop)) {
        std::ostringstream line;
        line << "fire " << (entry.info.isMessage ? "-[" : "step ") << describeTarget(entry.info.target) << " "
             << entry.info.selector << (entry.info.isMessage ? "]" : "") << " at " << now();
        rt::trace::log(rt::trace::Channel::RunLoop, line.str());
    }
    if (entry.info.isMessage) {
        performSelectorWithObject(entry.info.target, sel_registerName(entry.info.selector),
                                  entry.info.argument);
    } else if (entry.step) {
        entry.step();
    }
}

std::size_t NSRunLoop::runUntil(NSTimeInterval moment) {
    if (moment < now()) {
        moment = now();
    }
    std::size_t delivered = 0;
    while (!timers_.empty() && timers_.begin()->first.first <= moment) {
        if (delivered == kMaxDeliveriesPerRun) {
            throw NSException(NSInternalInconsistencyException,
                              "run loop: a timer keeps rescheduling itself without time passing");
        }
        auto first = timers_.begin();
        Entry entry = std::move(first->second);
        timers_.erase(first);
        clock_->advanceTo(entry.info.fireTime);
        deliver(std::move(entry));
        ++delivered;
        endPass();
    }
    clock_->advanceTo(moment);
    endPass();
    return delivered;
}

std::size_t NSRunLoop::runUntilIdle(NSTimeInterval limit) {
    NSTimeInterval end = now() + limit;
    std::size_t delivered = 0;
    while (auto next = nextFireTime()) {
        if (*next > end) {
            break;
        }
        delivered += runUntil(*next);
    }
    endPass();
    return delivered;
}

std::uint64_t NSRunLoop::addPassObserver(std::function<void()> observer) {
    std::uint64_t token = nextToken_++;
    observers_.emplace_back(token, std::move(observer));
    return token;
}

void NSRunLoop::removePassObserver(std::uint64_t token) {
    std::erase_if(observers_, [token](const auto& entry) { return entry.first == token; });
}

void NSRunLoop::endPass() {
    // Copied: an observer may add or remove observers.
    auto observers = observers_;
    for (auto& [token, observer] : observers) {
        observer();
    }
}
