#include "platform/foundation/NSLog.h"

#include <algorithm>
#include <deque>
#include <mutex>

namespace ns {
namespace {

struct Log {
    std::mutex mutex;
    std::deque<std::string> kept;
    // The number of the oldest message kept.
    std::uint64_t first = 0;
};

Log& systemLog() {
    static Log log;
    return log;
}

} // namespace

std::uint64_t SystemLog::mark() {
    Log& log = systemLog();
    const std::lock_guard<std::mutex> hold(log.mutex);
    return log.first + log.kept.size();
}

std::vector<std::string> SystemLog::since(std::uint64_t mark) {
    Log& log = systemLog();
    const std::lock_guard<std::mutex> hold(log.mutex);
    std::vector<std::string> messages;
    for (std::uint64_t number = std::max(mark, log.first); number < log.first + log.kept.size(); ++number) {
        messages.push_back(log.kept[number - log.first]);
    }
    return messages;
}

} // namespace ns

void NSLog(const std::string& message) {
    ns::Log& log = ns::systemLog();
    const std::lock_guard<std::mutex> hold(log.mutex);
    log.kept.push_back(message);
    if (log.kept.size() > ns::SystemLog::kKept) {
        log.kept.pop_front();
        ++log.first;
    }
}
