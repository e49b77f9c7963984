#pragma once
// Character data of the XML property-list form as both XML readers decode it.

#include <string>
#include <string_view>

namespace plist {

/// Appends `raw` to `out` with the five predefined entities and decimal or hexadecimal character
/// references replaced (a reference to NUL included); false on any other or malformed reference
/// (DTD entities are never expanded) or a reference to a surrogate.
bool appendUnescaped(std::string_view raw, std::string& out);

} // namespace plist
