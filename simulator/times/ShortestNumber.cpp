#include "simulator/times/ShortestNumber.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace sim {

std::string plainDecimalText(float value) {
    if (!std::isfinite(value)) {
        return {};
    }
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return error == std::errc{} ? std::string(text, end) : std::string();
}

double shortestDouble(float value) {
    // The shortest text that reads back as the same single-precision value, kept on the stack: an
    // export reads one per lap.
    char text[32];
    double widened = static_cast<double>(value);
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error == std::errc{}) {
        std::from_chars(text, end, widened);
    }
    return widened;
}

} // namespace sim
