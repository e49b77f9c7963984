#include "platform/foundation/SharedNumbers.h"

#include <bit>

namespace plist {

SharedNumbers::Slot& SharedNumbers::slotFor(std::uint64_t bits, std::vector<Slot>& table) {
    if (table.empty()) {
        table.resize(kSlots);
    }
    // Fibonacci hashing: the top bits of the product mix every bit of the value.
    constexpr int kShift = 64 - std::countr_zero(kSlots);
    return table[static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15u) >> kShift)];
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

} // namespace plist
