#pragma once
// Numbers are immutable and hold nothing but their value, so a reader may hand out one object
// for a value it meets again, as the platform's own numbers are often one shared object. A
// saved-times file repeats few lap values thousands of times: sharing them saves an object, its
// allocation and its release per lap.

#include "platform/foundation/NSNumber.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace plist {

/// Number objects shared by value within one read.
class SharedNumbers {
  public:
    /// A table sized for a document of `documentBytes`: large documents repeat more distinct
    /// values (a lap time for every hundredth of a second), which a small table would evict.
    explicit SharedNumbers(std::size_t documentBytes = 0);

    /// A double-precision number of exactly `value`'s bits (0.0 and -0.0, and each NaN, apart).
    std::shared_ptr<NSNumber> real(double value);
    /// An integer of the signed range.
    std::shared_ptr<NSNumber> integer(std::int64_t value);
    /// One object of each boolean for the whole document, as the platform shares its two
    /// booleans: a file of nothing but <true/> then costs no object per seven bytes.
    std::shared_ptr<NSNumber> boolean(bool value);

  private:
    struct Slot {
        std::uint64_t bits = 0;
        std::shared_ptr<NSNumber> number;
    };

    // A table of fixed size where a value has one place and a newcomer replaces whatever stood
    // there, so that a document of all different values costs no more than a lookup each.
    static constexpr std::size_t kMinSlots = 4096;
    static constexpr std::size_t kMaxSlots = 65536;

    Slot& slotFor(std::uint64_t bits, std::vector<Slot>& table);

    std::size_t slots_;
    int shift_;
    std::vector<Slot> reals_;
    std::vector<Slot> integers_;
    std::shared_ptr<NSNumber> true_;
    std::shared_ptr<NSNumber> false_;
};

} // namespace plist
