#include "addon/store/ShownSections.h"

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSNumber.h"

#include <cmath>

namespace lv {

bool sameValue(const id& left, const id& right) {
    if (left == right) {
        return true;
    }
    if (!left || !right) {
        return false;
    }
    if (auto leftArray = rt::cast<NSArray>(left)) {
        auto rightArray = rt::cast<NSArray>(right);
        return rightArray && sameRecords(*leftArray, *rightArray);
    }
    if (auto leftDictionary = rt::cast<NSDictionary>(left)) {
        auto rightDictionary = rt::cast<NSDictionary>(right);
        if (!rightDictionary || leftDictionary->count() != rightDictionary->count()) {
            return false;
        }
        auto other = rightDictionary->entries().begin();
        for (const auto& [key, value] : leftDictionary->entries()) {
            if (key != other->first || !sameValue(value, other->second)) {
                return false;
            }
            ++other;
        }
        return true;
    }
    auto leftNumber = rt::cast<NSNumber>(left);
    auto rightNumber = rt::cast<NSNumber>(right);
    if (leftNumber && rightNumber && leftNumber->isReal() && rightNumber->isReal() &&
        std::isnan(leftNumber->doubleValue()) && std::isnan(rightNumber->doubleValue())) {
        return true;
    }
    return left->isEqual(*right);
}

bool sameRecords(const NSArray& shown, const NSArray& read) {
    if (&shown == &read) {
        return true;
    }
    if (shown.count() != read.count()) {
        return false;
    }
    const auto& left = shown.items();
    const auto& right = read.items();
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (!sameValue(left[i], right[i])) {
            return false;
        }
    }
    return true;
}

} // namespace lv
