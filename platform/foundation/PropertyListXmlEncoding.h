#pragma once
// The text forms of XML property lists other than plain UTF-8, which the platform's reader also
// reads: UTF-16 and UTF-32 documents, told by their byte-order mark or by the pattern their XML
// declaration makes, and NUL characters written raw into a string's text. Each is turned into
// UTF-8 text that the XML readers read as they read any other document.

#include <optional>
#include <string>
#include <string_view>

namespace plist {

/// True when `bytes` begin with a UTF-16 or UTF-32 byte-order mark, or, without one, with
/// "<?" in one of those encodings (the start of an XML declaration).
[[nodiscard]] bool isWideXml(std::string_view bytes);

/// The UTF-8 form of a document isWideXml accepts, its byte-order mark dropped; nothing when
/// its code units are not valid (an unpaired surrogate, a value beyond U+10FFFF, a length that
/// is not a whole number of units).
[[nodiscard]] std::optional<std::string> wideXmlAsUtf8(std::string_view bytes);

/// `bytes` with each NUL byte written as the character reference "&#0;", which the readers
/// decode inside a string's text and refuse anywhere else.
[[nodiscard]] std::string nulsAsReferences(std::string_view bytes);

} // namespace plist
