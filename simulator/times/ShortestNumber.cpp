#include "simulator/times/ShortestNumber.h"

#include <charconv>
#include <system_error>

namespace sim {

std::string shortestText(float value) {
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc{} ? std::string(text, end) : std::string();
}

double shortestDouble(float value) {
    // The same text as shortestText, kept on the stack: an export reads one per lap.
    char text[32];
    double widened = static_cast<double>(value);
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    if (error == std::errc{}) {
        std::from_chars(text, end, widened);
    }
    return widened;
}

} // namespace sim
