#pragma once
// UTF-8 checks and conversions for property-list text. Strings in property lists are Unicode
// text: no invalid sequences, no surrogate code points and, because the XML form cannot carry
// it, no NUL character.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plist {

/// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
/// U+10FFFF) without a NUL character.
[[nodiscard]] bool isValidUtf8(std::string_view text);

/// Appends the UTF-8 form of a Unicode scalar value (not a surrogate, at most U+10FFFF).
void appendUtf8(std::string& out, char32_t codePoint);

/// Converts `units` big-endian UTF-16 code units at `bytes` to UTF-8, appending to `out`.
/// False for an unpaired surrogate. A NUL character is kept: the binary form carries it.
[[nodiscard]] bool appendUtf16BigEndianAsUtf8(const std::uint8_t* bytes, std::size_t units, std::string& out);

/// Orders two valid UTF-8 strings by their UTF-16 code units, as the platform's string compare
/// without options does: it differs from byte order only where a character above U+FFFF meets
/// one from U+E000 to U+FFFF, the former sorting first.
[[nodiscard]] bool lessInUtf16Order(std::string_view a, std::string_view b);

/// True when byte order and UTF-16 order may differ for `text` (it holds a character at or
/// above U+E000); lets a caller skip the slower comparison for ordinary keys.
[[nodiscard]] bool mayOrderDifferentlyInUtf16(std::string_view text);

} // namespace plist
