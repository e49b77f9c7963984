#pragma once
// Numbers in the XML property-list form, read and written without the C library's locale: a
// comma locale must not turn 75.3 into 75, and garbage must not read as 0.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plist {

/// The value of `<real>` text: a decimal or exponent number consumed whole, or one of the
/// platform's spellings nan, inf, infinity with an optional sign (any letter case). Surrounding
/// XML whitespace is allowed. Nothing for anything else, including numbers beyond the double
/// range and hexadecimal forms.
[[nodiscard]] std::optional<double> parseReal(std::string_view text);

/// The value of `<integer>` text: an optional sign and decimal digits, or 0x and hexadecimal
/// digits, within the 64-bit signed range; surrounding XML whitespace allowed.
[[nodiscard]] std::optional<std::int64_t> parseInteger(std::string_view text);

/// The value of `<integer>` text above the signed 64-bit range and within the unsigned one
/// (the platform reads such a number as unsigned); nothing for any other text.
[[nodiscard]] std::optional<std::uint64_t> parseUnsignedBeyondSigned(std::string_view text);

/// Appends a real as the platform writes it: `%.17g`, but `0.0` for either zero, `nan`,
/// `+infinity` and `-infinity`.
void appendReal(std::string& out, double value);

/// Trims XML whitespace (space, tab, line feed, carriage return) from both ends.
[[nodiscard]] std::string_view trimXmlSpace(std::string_view text);

} // namespace plist
