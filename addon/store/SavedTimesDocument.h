#pragma once
// The saved-times dictionary in memory: its section list, its section keys and the changes every
// operation makes to it. Reading a value of the wrong property-list type reads as missing, so an
// edited or damaged file never crashes a reader.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lv {

/// Key of the section list in the root dictionary.
inline constexpr const char* kSectionsKey = "Sections";
/// Name of the section made when the file has none.
inline constexpr const char* kDefaultSectionName = "Default";

/// "Times - " followed by the name: the key of that section's records. The name is data, never
/// a format.
std::string sectionKey(const std::string& name);

/// A view over the root dictionary of the saved-times file, as read with mutable containers.
class SavedTimesDocument {
  public:
    explicit SavedTimesDocument(std::shared_ptr<NSMutableDictionary> root);

    [[nodiscard]] const std::shared_ptr<NSMutableDictionary>& root() const { return root_; }

    /// The names of the section list in order; entries that are not strings are not names and
    /// are left out. Empty when the list is missing or is not an array.
    [[nodiscard]] std::vector<std::string> sectionNames() const;
    /// The records under the section's key as a mutable array; nil when the key is missing or
    /// holds something other than an array.
    [[nodiscard]] std::shared_ptr<NSMutableArray> records(const std::string& sectionName) const;
    /// The records of the named section, an empty new array when it has none.
    [[nodiscard]] std::shared_ptr<NSMutableArray> recordsOrEmpty(const std::string& sectionName) const;

    /// Makes the section list ["Default"] when it is missing or empty, and answers whether it did.
    bool ensureSectionList();
    /// Stores `records` under the section's key.
    void storeRecords(const std::string& sectionName, std::shared_ptr<NSMutableArray> records);
    /// Appends a section name and gives it an empty record array.
    void appendSection(const std::string& name);
    /// Removes the names at these positions from the section list and their keys from the root.
    void dropSections(const std::vector<std::size_t>& positions);

  private:
    void writeSectionList(const std::vector<std::string>& names);
    std::shared_ptr<NSMutableDictionary> root_;
};

} // namespace lv
