#pragma once
// Text from files and scripts shown on a terminal: a section name or an unknown command word may
// hold escape sequences, carriage returns or bytes that are not UTF-8, which a terminal would obey
// or mangle. Shown escaped, as `ls -b` shows file names, a person sees what is there.

#include <string>
#include <string_view>

namespace sim {

/// `text` with control characters (C0, DEL and the C1 range), bytes that are not UTF-8 and the
/// backslash written as escapes: `\t`, `\n`, `\r`, `\\`, otherwise `\xHH` per byte. Printable
/// UTF-8 (accents, other scripts) is kept as it is.
std::string terminalText(std::string_view text);

} // namespace sim
