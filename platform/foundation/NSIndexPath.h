#pragma once
// An immutable (section, row) pair addressing a table row, with the platform's equality and
// ordering: equal when both indexes are, ordered by section then row.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/NSObject.h"

#include <memory>
#include <string>

/// The address of a row: its section and its row within that section.
class NSIndexPath : public NSObject {
  public:
    static constexpr const char* kClassName = "NSIndexPath";
    using Super = NSObject;

    NSIndexPath(NSInteger row, NSInteger section) : row_(row), section_(section) {}

    /// `indexPathForRow:inSection:`.
    static std::shared_ptr<NSIndexPath> indexPathForRowInSection(NSInteger row, NSInteger section);

    [[nodiscard]] NSInteger row() const { return row_; }
    [[nodiscard]] NSInteger section() const { return section_; }
    /// `compare:`: by section, then by row.
    [[nodiscard]] NSComparisonResult compare(const NSIndexPath& other) const;
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    /// As the platform prints it: "<NSIndexPath 0x...> 2 indexes [section, row]".
    [[nodiscard]] std::string description() const override;

  private:
    NSInteger row_;
    NSInteger section_;
};

/// True when both are nil or both name the same row.
bool sameIndexPath(const std::shared_ptr<NSIndexPath>& a, const std::shared_ptr<NSIndexPath>& b);
