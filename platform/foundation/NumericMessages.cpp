#include "platform/foundation/NumericMessages.h"

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"

namespace ns {

std::optional<double> doubleValueOf(const id& value) {
    if (auto number = rt::cast<NSNumber>(value)) {
        return number->doubleValue();
    }
    if (auto text = rt::cast<NSString>(value)) {
        return text->doubleValue();
    }
    return std::nullopt;
}

std::optional<int> intValueOf(const id& value) {
    if (auto number = rt::cast<NSNumber>(value)) {
        return number->intValue();
    }
    if (auto text = rt::cast<NSString>(value)) {
        return text->intValue();
    }
    return std::nullopt;
}

} // namespace ns
