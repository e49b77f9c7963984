#include "platform/foundation/PropertyListContainers.h"

#include "platform/foundation/NSArray.h"

namespace plist {

id makeArray(std::vector<id> items, Mutability mutability) {
    if (mutability == Mutability::MutableContainers) {
        return NSMutableArray::with(std::move(items));
    }
    return NSArray::with(std::move(items));
}

id makeDictionary(NSDictionary::Entries entries, Mutability mutability) {
    if (mutability == Mutability::MutableContainers) {
        return NSMutableDictionary::with(std::move(entries));
    }
    return NSDictionary::with(std::move(entries));
}

} // namespace plist
