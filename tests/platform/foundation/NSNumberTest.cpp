// What a number says of itself: integers in full, an unsigned value above the signed range as
// that value, reals to seventeen significant digits.

#include "platform/foundation/NSNumber.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(NSNumberDescription, EachKindInFull) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    const std::vector<std::pair<std::shared_ptr<NSNumber>, std::string>> cases = {
        {NSNumber::withInteger(-5), "-5"},
        {NSNumber::withInteger(INT64_MIN), "-9223372036854775808"},
        {NSNumber::withUnsignedInteger(7), "7"},
        {NSNumber::withUnsignedInteger(UINT64_MAX), "18446744073709551615"},
        {NSNumber::withUnsignedInteger(std::uint64_t{1} << 63), "9223372036854775808"},
        {NSNumber::withDouble(0.1), "0.10000000000000001"},
    };
    for (const auto& [number, text] : cases) {
        EXPECT_EQ(number->description(), text);
    }
}

} // namespace
