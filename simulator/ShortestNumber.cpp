#include "simulator/ShortestNumber.h"

#include <charconv>
#include <system_error>

namespace sim {

std::string shortestText(float value) {
    char text[32];
    auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc{} ? std::string(text, end) : std::string();
}

double shortestDouble(float value) {
    std::string text = shortestText(value);
    double widened = static_cast<double>(value);
    std::from_chars(text.data(), text.data() + text.size(), widened);
    return widened;
}

} // namespace sim
