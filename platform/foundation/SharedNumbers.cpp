#include "platform/foundation/SharedNumbers.h"

#include <algorithm>
#include <bit>

namespace plist {

SharedNumbers::SharedNumbers(std::size_t documentBytes)
    // About a slot for every 512 bytes of text: a table of 65,536 slots (1.5 MB) from 32 MB on,
    // and the smallest for every document under 2 MB.
    : slots_(std::clamp(std::bit_ceil(documentBytes / 512 + 1), kMinSlots, kMaxSlots)),
      shift_(64 - std::countr_zero(slots_)) {}

SharedNumbers::Slot& SharedNumbers::slotFor(std::uint64_t bits, std::vector<Slot>& table) {
    if (table.empty()) {
        table.resize(slots_);
    }
    // Fibonacci hashing: the top bits of the product mix every bit of the value.
    return table[static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15u) >> shift_)];
}

std::shared_ptr<NSNumber> SharedNumbers::real(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    Slot& slot = slotFor(bits, reals_);
    if (!slot.number || slot.bits != bits) {
        slot = Slot{bits, NSNumber::withDouble(value)};
    }
    return slot.number;
}

std::shared_ptr<NSNumber> SharedNumbers::integer(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    Slot& slot = slotFor(bits, integers_);
    if (!slot.number || slot.bits != bits) {
        slot = Slot{bits, NSNumber::withInteger(value)};
    }
    return slot.number;
}

std::shared_ptr<NSNumber> SharedNumbers::boolean(bool value) {
    std::shared_ptr<NSNumber>& shared = value ? true_ : false_;
    if (!shared) {
        shared = NSNumber::withBool(value);
    }
    return shared;
}

} // namespace plist
