#pragma once
// The number each real's text gave, kept by the text itself. A saved-times file repeats its lap
// values' texts tens of thousands of times; a text met again is compared, not parsed, printed
// and looked up again, and its number object is shared as the platform shares its numbers.

#include "platform/foundation/NSNumber.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace plist {

/// Real texts met within one read, and what each gave.
class KnownRealTexts {
  public:
    /// One text's place in the table.
    struct Slot {
        /// The text's length; 0 while the place is empty.
        std::uint8_t length = 0;
        char text[23]{};
        std::shared_ptr<NSNumber> number;

        [[nodiscard]] bool holds(std::string_view candidate) const {
            return length == candidate.size() && std::memcmp(text, candidate.data(), length) == 0;
        }
    };

    /// A table sized for a document of `documentBytes`, allocated at the first text.
    explicit KnownRealTexts(std::size_t documentBytes);

    /// The place of `text`, which holds it when `holds(text)` says so; nullptr for a text that is
    /// empty or too long to keep.
    Slot* place(std::string_view text);
    /// Puts `text` and its number at `slot` (the place of `text`), replacing what stood there.
    static void keep(Slot& slot, std::string_view text, std::shared_ptr<NSNumber> number);

  private:
    std::size_t slots_;
    int shift_;
    std::vector<Slot> table_;
};

} // namespace plist
