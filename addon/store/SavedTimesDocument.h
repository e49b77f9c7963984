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

/// The names of the root's section list in order, as SavedTimesDocument::sectionNames gives them.
std::vector<std::string> sectionNamesOf(const NSDictionary& root);

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

    /// True when something other than an array stands under "Sections". Such a list is never
    /// replaced: an operation that would have to replace it writes nothing.
    [[nodiscard]] bool sectionListHasWrongType() const;
    /// True when something other than an array stands under the section's key. Such a record
    /// list reads as empty and is never replaced or removed: an operation that would have to
    /// change it writes nothing.
    [[nodiscard]] bool recordsHaveWrongType(const std::string& sectionName) const;
    /// True when the section holds no records: its key is missing or holds an empty array.
    [[nodiscard]] bool sectionIsEmpty(const std::string& sectionName) const;

    /// Gives a list without names the name "Default" (a missing list becomes ["Default"]; a list
    /// holding only values that are not names keeps them and gains "Default"), and answers
    /// whether it changed anything. The list must not have the wrong type.
    bool ensureSectionList();
    /// Stores `records` under the section's key.
    void storeRecords(const std::string& sectionName, std::shared_ptr<NSMutableArray> records);
    /// Appends a section name and gives it an empty record array, unless its key already holds
    /// something (records left under a name missing from the list): that is kept.
    void appendSection(const std::string& name);
    /// Removes the names at these positions from the section list and their keys from the root.
    /// Positions count names only; other values in the list stay where they are.
    void dropSections(const std::vector<std::size_t>& positions);

  private:
    // The section list as a mutable array changed in place, so that values in it that are not
    // names survive; made (and stored) when missing, copied when immutable.
    std::shared_ptr<NSMutableArray> mutableSectionList();
    std::shared_ptr<NSMutableDictionary> root_;
};

} // namespace lv
