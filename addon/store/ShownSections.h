#pragma once
// The browser's list as the user saw it, and the test that a fresh read of the file still holds
// it. An edit applies to what the user saw: when another process (or any other program) changed
// a section the edit changes after the list was read, storing the list would erase that change,
// so the edit writes nothing instead.

#include "platform/foundation/NSArray.h"

#include <optional>
#include <string>
#include <vector>

namespace lv {

/// Each section's records, in the order of the section list they were read from, and the names
/// they were read under. A list given without names is compared by its records alone.
struct ShownSections {
    // Implicit, so that a list without names passes where shown sections are asked for.
    ShownSections(NSMutableArray& sectionRecords) : records(sectionRecords) {}
    ShownSections(NSMutableArray& sectionRecords, std::vector<std::string> sectionNames)
        : records(sectionRecords), names(std::move(sectionNames)) {}

    NSMutableArray& records;
    std::optional<std::vector<std::string>> names;
};

/// True when the two record lists hold the same records in the same order. The very same objects
/// (one process's cached reads share them) are equal without a look inside; otherwise values are
/// compared, a NaN equal to a NaN, so that a record nothing changed always equals itself.
[[nodiscard]] bool sameRecords(const NSArray& shown, const NSArray& read);

/// True when two property-list values are equal as sameRecords compares records.
[[nodiscard]] bool sameValue(const id& left, const id& right);

} // namespace lv
