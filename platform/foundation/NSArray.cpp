#include "platform/foundation/NSArray.h"

#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"

#include <string>
#include <utility>

std::shared_ptr<NSArray> NSArray::with(std::vector<id> items) {
    return rt::make<NSArray>(std::move(items));
}

void NSArray::checkIndex(std::size_t index, std::size_t limit, const char* method) const {
    if (index >= limit) {
        std::string bounds = items_.empty()
                                 ? "for empty array"
                                 : "beyond bounds [0 .. " + std::to_string(items_.size() - 1) + "]";
        throw NSException(NSRangeException, std::string("*** -[") + (isa() ? isa()->name : kClassName) + " " +
                                                method + "]: index " + std::to_string(index) + " " + bounds);
    }
}

id NSArray::objectAtIndex(std::size_t index) const {
    checkIndex(index, items_.size(), "objectAtIndex:");
    return items_[index];
}

std::size_t NSArray::indexOfObject(const NSObject& object) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i] && items_[i]->isEqual(object)) {
            return i;
        }
    }
    return npos;
}

bool NSArray::isEqual(const NSObject& other) const {
    const auto* array = dynamic_cast<const NSArray*>(&other);
    if (array == nullptr || array->items_.size() != items_.size()) {
        return false;
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!items_[i] || !array->items_[i] || !items_[i]->isEqual(*array->items_[i])) {
            return false;
        }
    }
    return true;
}

std::shared_ptr<NSMutableArray> NSMutableArray::with(std::vector<id> items) {
    return rt::make<NSMutableArray>(std::move(items));
}

namespace {
void requireObject(const id& object, const char* method) {
    if (!object) {
        throw NSException(NSInvalidArgumentException,
                          std::string("*** -[NSMutableArray ") + method + "]: object cannot be nil");
    }
}
} // namespace

void NSMutableArray::addObject(id object) {
    requireObject(object, "addObject:");
    items_.push_back(std::move(object));
    ++mutations_;
}

void NSMutableArray::insertObject(id object, std::size_t index) {
    requireObject(object, "insertObject:atIndex:");
    checkIndex(index, items_.size() + 1, "insertObject:atIndex:");
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(object));
    ++mutations_;
}

void NSMutableArray::removeObjectAtIndex(std::size_t index) {
    checkIndex(index, items_.size(), "removeObjectAtIndex:");
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    ++mutations_;
}

void NSMutableArray::replaceObjectAtIndex(std::size_t index, id object) {
    requireObject(object, "replaceObjectAtIndex:withObject:");
    checkIndex(index, items_.size(), "replaceObjectAtIndex:withObject:");
    items_[index] = std::move(object);
    ++mutations_;
}

void NSMutableArray::exchangeObjectAtIndex(std::size_t a, std::size_t b) {
    checkIndex(a, items_.size(), "exchangeObjectAtIndex:withObjectAtIndex:");
    checkIndex(b, items_.size(), "exchangeObjectAtIndex:withObjectAtIndex:");
    std::swap(items_[a], items_[b]);
    ++mutations_;
}
