#pragma once
// Sorted sets of unique unsigned indexes. NSIndexSet cannot be changed; NSMutableIndexSet can.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/NSObject.h"

#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

/// An immutable sorted set of indexes.
class NSIndexSet : public NSObject {
  public:
    static constexpr const char* kClassName = "NSIndexSet";
    using Super = NSObject;

    NSIndexSet() = default;
    explicit NSIndexSet(std::set<NSUInteger> indexes) : indexes_(std::move(indexes)) {}

    /// `indexSet`: the empty set.
    static std::shared_ptr<NSIndexSet> indexSet();
    /// `indexSetWithIndex:`.
    static std::shared_ptr<NSIndexSet> indexSetWithIndex(NSUInteger index);
    /// `indexSetWithIndexesInRange:` with the range's location and length.
    static std::shared_ptr<NSIndexSet> indexSetWithIndexesInRange(NSUInteger location, NSUInteger length);
    /// A set holding the given indexes (duplicates collapse).
    static std::shared_ptr<NSIndexSet> with(std::initializer_list<NSUInteger> indexes);

    [[nodiscard]] NSUInteger count() const { return static_cast<NSUInteger>(indexes_.size()); }
    /// The smallest index, NSNotFound when empty.
    [[nodiscard]] NSUInteger firstIndex() const;
    /// The largest index, NSNotFound when empty.
    [[nodiscard]] NSUInteger lastIndex() const;
    [[nodiscard]] bool containsIndex(NSUInteger index) const { return indexes_.count(index) != 0; }
    /// The indexes in ascending order, as enumeration visits them.
    [[nodiscard]] std::vector<NSUInteger> indexes() const { return {indexes_.begin(), indexes_.end()}; }
    [[nodiscard]] const std::set<NSUInteger>& indexSetStorage() const { return indexes_; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    [[nodiscard]] std::string description() const override;

  protected:
    std::set<NSUInteger> indexes_;
};

/// A sorted set of indexes that can be changed.
class NSMutableIndexSet : public NSIndexSet {
  public:
    static constexpr const char* kClassName = "NSMutableIndexSet";
    using Super = NSIndexSet;

    using NSIndexSet::NSIndexSet;
    /// `indexSet` of the mutable kind.
    static std::shared_ptr<NSMutableIndexSet> indexSet();

    void addIndex(NSUInteger index) { indexes_.insert(index); }
    void removeIndex(NSUInteger index) { indexes_.erase(index); }
    void addIndexes(const NSIndexSet& other);
    void removeAllIndexes() { indexes_.clear(); }
};
