#include "platform/foundation/NSIndexPath.h"

#include "platform/runtime/Runtime.h"

#include <sstream>

std::shared_ptr<NSIndexPath> NSIndexPath::indexPathForRowInSection(NSInteger row, NSInteger section) {
    return rt::make<NSIndexPath>(row, section);
}

NSComparisonResult NSIndexPath::compare(const NSIndexPath& other) const {
    if (section_ != other.section_) {
        return section_ < other.section_ ? NSOrderedAscending : NSOrderedDescending;
    }
    if (row_ != other.row_) {
        return row_ < other.row_ ? NSOrderedAscending : NSOrderedDescending;
    }
    return NSOrderedSame;
}

bool NSIndexPath::isEqual(const NSObject& other) const {
    const auto* path = dynamic_cast<const NSIndexPath*>(&other);
    return path != nullptr && compare(*path) == NSOrderedSame;
}

std::string NSIndexPath::description() const {
    std::ostringstream out;
    out << "<NSIndexPath " << static_cast<const void*>(this) << "> 2 indexes [" << section_ << ", " << row_
        << "]";
    return out.str();
}

bool sameIndexPath(const std::shared_ptr<NSIndexPath>& a, const std::shared_ptr<NSIndexPath>& b) {
    if (!a || !b) {
        return !a && !b;
    }
    return a->compare(*b) == NSOrderedSame;
}
