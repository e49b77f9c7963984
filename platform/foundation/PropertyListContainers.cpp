#include "platform/foundation/PropertyListContainers.h"

#include "platform/foundation/NSArray.h"

#include <algorithm>
#include <iterator>

namespace plist {

NSDictionary::Entries entriesFrom(NSDictionary::Entries::sequence_type& gathered) {
    const auto byKey = [](const auto& a, const auto& b) { return a.first < b.first; };
    // Files list their keys sorted, so the common case is a check and one copy.
    const bool sortedUnique =
        std::adjacent_find(gathered.begin(), gathered.end(), [](const auto& a, const auto& b) {
            return !(a.first < b.first);
        }) == gathered.end();
    if (!sortedUnique) {
        // A stable sort keeps equal keys in document order, so the last of each run is the value
        // that stands.
        std::stable_sort(gathered.begin(), gathered.end(), byKey);
        auto kept = gathered.begin();
        for (auto it = gathered.begin(); it != gathered.end(); ++it) {
            const auto next = std::next(it);
            if (next != gathered.end() && next->first == it->first) {
                continue;
            }
            if (kept != it) {
                *kept = std::move(*it);
            }
            ++kept;
        }
        gathered.erase(kept, gathered.end());
    }
    NSDictionary::Entries::sequence_type exact;
    exact.reserve(gathered.size());
    std::move(gathered.begin(), gathered.end(), std::back_inserter(exact));
    gathered.clear();
    NSDictionary::Entries entries;
    entries.adopt_sequence(boost::container::ordered_unique_range, std::move(exact));
    return entries;
}

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

id DocumentContainers::array(std::vector<id> items) {
    if (!items.empty() || mutability_ == Mutability::MutableContainers) {
        return makeArray(std::move(items), mutability_);
    }
    if (!emptyArray_) {
        emptyArray_ = makeArray({}, mutability_);
    }
    return emptyArray_;
}

id DocumentContainers::dictionary(NSDictionary::Entries entries) {
    if (!entries.empty() || mutability_ == Mutability::MutableContainers) {
        return makeDictionary(std::move(entries), mutability_);
    }
    if (!emptyDictionary_) {
        emptyDictionary_ = makeDictionary({}, mutability_);
    }
    return emptyDictionary_;
}

} // namespace plist
