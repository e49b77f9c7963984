#include "platform/foundation/KnownRealTexts.h"

#include <algorithm>
#include <bit>

namespace plist {

namespace {

// A place for about every 512 bytes of text, as the shared numbers have: 16,384 places (640 KB)
// for a file of ten thousand results.
constexpr std::size_t kMinSlots = 1024;
constexpr std::size_t kMaxSlots = 65536;
constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15U;

} // namespace

KnownRealTexts::KnownRealTexts(std::size_t documentBytes)
    : slots_(std::clamp(std::bit_ceil(documentBytes / 512 + 1), kMinSlots, kMaxSlots)),
      shift_(64 - std::countr_zero(slots_)) {}

KnownRealTexts::Slot* KnownRealTexts::place(std::string_view text) {
    if (text.empty() || text.size() > sizeof(Slot::text)) {
        return nullptr;
    }
    if (table_.empty()) {
        table_.resize(slots_);
    }
    // Eight bytes at a time, each step multiplied by the golden ratio and folded; the top bits
    // of the last product pick the place.
    std::uint64_t hash = text.size() * kGolden;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        hash = (hash ^ word) * kGolden;
        hash ^= hash >> 29;
    }
    if (at < text.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, text.size() - at);
        hash = (hash ^ word) * kGolden;
    }
    return &table_[static_cast<std::size_t>(hash >> shift_)];
}

void KnownRealTexts::keep(Slot& slot, std::string_view text, std::shared_ptr<NSNumber> number) {
    slot.length = static_cast<std::uint8_t>(text.size());
    std::memcpy(slot.text, text.data(), text.size());
    slot.number = std::move(number);
}

} // namespace plist
