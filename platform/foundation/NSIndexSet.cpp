#include "platform/foundation/NSIndexSet.h"

#include "platform/runtime/Runtime.h"

#include <sstream>

std::shared_ptr<NSIndexSet> NSIndexSet::indexSet() {
    return rt::make<NSIndexSet>();
}

std::shared_ptr<NSIndexSet> NSIndexSet::indexSetWithIndex(NSUInteger index) {
    return rt::make<NSIndexSet>(std::set<NSUInteger>{index});
}

std::shared_ptr<NSIndexSet> NSIndexSet::indexSetWithIndexesInRange(NSUInteger location, NSUInteger length) {
    std::set<NSUInteger> indexes;
    for (NSUInteger i = 0; i < length; ++i) {
        indexes.insert(location + i);
    }
    return rt::make<NSIndexSet>(std::move(indexes));
}

std::shared_ptr<NSIndexSet> NSIndexSet::with(std::initializer_list<NSUInteger> indexes) {
    return rt::make<NSIndexSet>(std::set<NSUInteger>(indexes));
}

NSUInteger NSIndexSet::firstIndex() const {
    return indexes_.empty() ? static_cast<NSUInteger>(NSNotFound) : *indexes_.begin();
}

NSUInteger NSIndexSet::lastIndex() const {
    return indexes_.empty() ? static_cast<NSUInteger>(NSNotFound) : *indexes_.rbegin();
}

bool NSIndexSet::isEqual(const NSObject& other) const {
    const auto* set = dynamic_cast<const NSIndexSet*>(&other);
    return set != nullptr && set->indexes_ == indexes_;
}

std::string NSIndexSet::description() const {
    std::ostringstream out;
    out << "<NSIndexSet " << static_cast<const void*>(this) << ">[number of indexes: " << indexes_.size()
        << "] (";
    bool first = true;
    for (NSUInteger index : indexes_) {
        out << (first ? "" : " ") << index;
        first = false;
    }
    out << ")";
    return out.str();
}

std::shared_ptr<NSMutableIndexSet> NSMutableIndexSet::indexSet() {
    return rt::make<NSMutableIndexSet>();
}

void NSMutableIndexSet::addIndexes(const NSIndexSet& other) {
    indexes_.insert(other.indexSetStorage().begin(), other.indexSetStorage().end());
}
