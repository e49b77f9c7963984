#pragma once
// NSLog and the device's system log it writes to. On the phone a message goes to the system log,
// which the person using the application never sees on screen; here the log keeps the latest
// messages, numbered in the order they came, for whoever looks at the device (the simulator
// reads what was logged during a command). Nothing is printed.

#include <cstdint>
#include <string>
#include <vector>

/// Logs one message to the system log.
void NSLog(const std::string& message);

namespace ns {

/// The process's system log.
class SystemLog {
  public:
    /// How many messages the log keeps; older ones are forgotten.
    static constexpr std::size_t kKept = 64;
    /// The number the next message will get.
    [[nodiscard]] static std::uint64_t mark();
    /// The messages logged from `mark` on, oldest first, as many of them as are still kept.
    [[nodiscard]] static std::vector<std::string> since(std::uint64_t mark);
};

} // namespace ns
