#include "platform/foundation/NSData.h"

#include "platform/runtime/Runtime.h"

std::shared_ptr<NSData> NSData::with(std::vector<std::uint8_t> bytes) {
    return rt::make<NSData>(std::move(bytes));
}

bool NSData::isEqual(const NSObject& other) const {
    const auto* data = dynamic_cast<const NSData*>(&other);
    return data != nullptr && data->bytes_ == bytes_;
}
