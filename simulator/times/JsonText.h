#pragma once
// JSON text written straight into a string, byte for byte as nlohmann::json's dump() (compact,
// UTF-8 kept) writes the same values, without building its tree first: an export of ten
// thousand results would otherwise make and free a tree node for every lap. Single-precision
// numbers are the one difference: they are written as their shortest decimal, where dump()'s
// conversion of the same value as a double gives 17 digits in about one case in a thousand.

#include <cstddef>
#include <string>
#include <string_view>

namespace sim {

/// Appends JSON values to a text.
class JsonText {
  public:
    /// The text written so far.
    [[nodiscard]] std::string& text() { return text_; }

    /// A string, escaped as dump() escapes it; bytes that are not UTF-8 become U+FFFD, as
    /// dump() with the replacing error handler writes them.
    JsonText& string(std::string_view value);
    /// A single-precision number as its shortest decimal in dump()'s layout (jsonNumberText);
    /// null when it is not finite, as there.
    JsonText& number(float value);
    /// A count or a position.
    JsonText& count(std::size_t value);
    JsonText& null();
    /// Punctuation and keys the caller spells out: `{"name":`.
    JsonText& raw(std::string_view text);

  private:
    std::string text_;
};

} // namespace sim
