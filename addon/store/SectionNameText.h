#pragma once
// What a section name may hold. A name is stored as a string of the saved-times file, an XML
// property list, so every character must be one XML 1.0 allows and the bytes must be UTF-8:
// otherwise other programs (and the platform's stricter readers) refuse the whole file.

#include <optional>
#include <string_view>

namespace lv {

/// True when `text` is well-formed UTF-8: no stray continuation byte, no truncated, overlong or
/// surrogate sequence, nothing above U+10FFFF.
[[nodiscard]] bool isValidUtf8(std::string_view text);

/// The first character of `text` that XML 1.0 does not allow in a document (the controls but
/// tab, line feed and carriage return; U+FFFE and U+FFFF); nullopt when there is none. Bytes that
/// are not UTF-8 are skipped: `isValidUtf8` tells of them.
[[nodiscard]] std::optional<char32_t> firstCharacterXmlForbids(std::string_view text);

/// True when a new section may not take `name` as typed: it holds a control character (any of
/// U+0000 to U+001F, U+007F to U+009F, the tab and line ends included, which no name field
/// types), U+FFFE or U+FFFF, or it is not UTF-8.
[[nodiscard]] bool holdsCharactersNoNameMay(std::string_view name);

} // namespace lv
