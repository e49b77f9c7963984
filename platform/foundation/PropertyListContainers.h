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

/// The containers of one read. An empty immutable container holds nothing and can never hold
/// anything, so every empty array of a document is one object, and every empty dictionary
/// another, as the platform shares its empty collections: a file of nothing but `<array/>`
/// then costs a reference per container instead of an object and its allocation. Mutable
/// containers are each their own object, as a caller may fill one.
class DocumentContainers {
  public:
    explicit DocumentContainers(Mutability mutability) : mutability_(mutability) {}

    [[nodiscard]] Mutability mutability() const { return mutability_; }
    /// An array of `items`, as makeArray makes it.
    [[nodiscard]] id array(std::vector<id> items);
    /// A dictionary of `entries`, as makeDictionary makes it.
    [[nodiscard]] id dictionary(NSDictionary::Entries entries);

  private:
    Mutability mutability_;
    id emptyArray_;
    id emptyDictionary_;
};

} // namespace plist
