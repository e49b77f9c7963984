#pragma once
// The numeric messages (`doubleValue`, `intValue`) sent to a value of unknown class, as read
// from a property list: a number answers with its value (a boolean with 1 or 0) and a string
// with what its text scans as; any other value (an array, a date, data) does not answer them.

#include "platform/runtime/NSObject.h"

#include <optional>

namespace ns {

/// `[value doubleValue]`; nothing for no value or one that does not answer the message.
std::optional<double> doubleValueOf(const id& value);
/// `[value intValue]`; nothing for no value or one that does not answer the message.
std::optional<int> intValueOf(const id& value);

} // namespace ns
