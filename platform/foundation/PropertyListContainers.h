#pragma once
// Makes the containers a reader builds, of the kind its Mutability asks for.

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/PropertyListOptions.h"

#include <vector>

namespace plist {

/// An NSArray, or an NSMutableArray for Mutability::MutableContainers.
[[nodiscard]] id makeArray(std::vector<id> items, Mutability mutability);

/// The entries a reader gathered in document order, in one allocation of their size. A key met
/// again keeps its last value, as the platform's parsers do. `gathered` is left empty, so a reader
/// may keep it to gather the next dictionary's entries.
[[nodiscard]] NSDictionary::Entries entriesFrom(NSDictionary::Entries::sequence_type& gathered);

/// An NSDictionary, or an NSMutableDictionary for Mutability::MutableContainers.
[[nodiscard]] id makeDictionary(NSDictionary::Entries entries, Mutability mutability);

} // namespace plist
