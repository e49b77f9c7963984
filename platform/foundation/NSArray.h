#pragma once
// Arrays of objects. NSArray cannot be changed; NSMutableArray can. Code that must change an
// array it was handed asks for the mutable kind (rt::cast<NSMutableArray>) and gets nil for an
// immutable one, as the platform would refuse the change.

#include "platform/runtime/NSObject.h"

#include <cstddef>
#include <memory>
#include <vector>

/// An immutable ordered list of objects.
class NSArray : public NSObject {
  public:
    static constexpr const char* kClassName = "NSArray";
    using Super = NSObject;

    explicit NSArray(std::vector<id> items = {}) : items_(std::move(items)) {}
    static std::shared_ptr<NSArray> with(std::vector<id> items);

    [[nodiscard]] std::size_t count() const { return items_.size(); }
    /// The object at `index`; out of range raises NSRangeException as on the phone.
    [[nodiscard]] id objectAtIndex(std::size_t index) const;
    /// The object at `index` as a T, nil when out of range or of another kind.
    template <class T>
    [[nodiscard]] std::shared_ptr<T> objectAs(std::size_t index) const {
        return index < items_.size() ? rt::cast<T>(items_[index]) : nullptr;
    }
    [[nodiscard]] const std::vector<id>& items() const { return items_; }
    /// The first index holding an object equal to `object` (isEqual:), or npos.
    [[nodiscard]] std::size_t indexOfObject(const NSObject& object) const;
    [[nodiscard]] rt::ValueKind valueKind() const override { return rt::ValueKind::Array; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  protected:
    std::vector<id> items_;
    void checkIndex(std::size_t index, std::size_t limit, const char* method) const;
};

/// An ordered list of objects that can be changed in place.
class NSMutableArray : public NSArray {
  public:
    static constexpr const char* kClassName = "NSMutableArray";
    using Super = NSArray;

    using NSArray::NSArray;
    static std::shared_ptr<NSMutableArray> with(std::vector<id> items = {});

    void addObject(id object);
    void insertObject(id object, std::size_t index);
    void removeObjectAtIndex(std::size_t index);
    void replaceObjectAtIndex(std::size_t index, id object);
    void exchangeObjectAtIndex(std::size_t a, std::size_t b);
    void removeAllObjects() {
        items_.clear();
        ++mutations_;
    }

    /// Counts every change of the array, as the platform's fast enumeration does: a reader that
    /// keeps something worked out from the items knows it still holds while the count is the same.
    [[nodiscard]] unsigned long mutationCount() const { return mutations_; }

  private:
    unsigned long mutations_ = 0;
};
