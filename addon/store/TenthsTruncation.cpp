#include "addon/store/TenthsTruncation.h"

#include "platform/foundation/NumberScanning.h"
#include "platform/foundation/StringFormat.h"

#include <string>

namespace lv {

float tenthsTruncation(double seconds) {
    const std::string printed = ns::format("%f", seconds);
    const std::size_t point = printed.find('.');
    if (point == std::string::npos || point + 1 >= printed.size()) {
        // "inf" and "nan" have no fraction part to take a digit from; the text reads as 0.
        return ns::scanFloat(printed);
    }
    const std::string whole = printed.substr(0, point);
    const int tenths = printed[point + 1] - '0';
    return ns::scanFloat(ns::format("%@.%i", whole, tenths));
}

} // namespace lv
