#include "platform/foundation/NSLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SystemLog, KeepsTheLatestMessagesInOrderFromAMark) {
    const std::uint64_t start = ns::SystemLog::mark();
    NSLog("first");
    const std::uint64_t second = ns::SystemLog::mark();
    NSLog("second");
    EXPECT_EQ(ns::SystemLog::since(start), (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(ns::SystemLog::since(second), std::vector<std::string>{"second"});
    EXPECT_TRUE(ns::SystemLog::since(ns::SystemLog::mark()).empty());

    for (std::size_t i = 0; i < ns::SystemLog::kKept + 3; ++i) {
        NSLog(std::to_string(i));
    }
    const auto kept = ns::SystemLog::since(start);
    ASSERT_EQ(kept.size(), ns::SystemLog::kKept);
    EXPECT_EQ(kept.front(), "3");
    EXPECT_EQ(kept.back(), std::to_string(ns::SystemLog::kKept + 2));
}

} // namespace
