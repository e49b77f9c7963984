#pragma once
// Base64 as the property-list XML form uses it for data: the standard alphabet with '='
// padding. Line layout is the writer's business; the decoder skips XML whitespace anywhere.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plist {

/// The Base64 text of `bytes`, padded, on one line.
[[nodiscard]] std::string encodeBase64(const std::vector<std::uint8_t>& bytes);

/// The bytes of Base64 `text`; whitespace is skipped, padding is optional, and anything else
/// outside the alphabet, padding before the end or a dangling single character gives nothing.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text);

} // namespace plist
