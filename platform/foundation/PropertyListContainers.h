#pragma once
// Makes the containers a reader builds, of the kind its Mutability asks for.

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/PropertyListOptions.h"

#include <vector>

namespace plist {

/// An NSArray, or an NSMutableArray for Mutability::MutableContainers.
[[nodiscard]] id makeArray(std::vector<id> items, Mutability mutability);

/// An NSDictionary, or an NSMutableDictionary for Mutability::MutableContainers.
[[nodiscard]] id makeDictionary(NSDictionary::Entries entries, Mutability mutability);

} // namespace plist
