#include "platform/foundation/PropertyListScalars.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace plist {

namespace {

bool equalsIgnoringCase(std::string_view text, std::string_view lowercase) {
    if (text.size() != lowercase.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lowercase[i]) {
            return false;
        }
    }
    return true;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string_view trimXmlSpace(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> parseReal(std::string_view text) {
    text = trimXmlSpace(text);
    bool negative = false;
    std::string_view body = text;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    if (equalsIgnoringCase(body, "nan")) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    if (equalsIgnoringCase(body, "inf") || equalsIgnoringCase(body, "infinity")) {
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    // from_chars would also take "infinity" or "nan(...)" and a sign of its own; only plain
    // decimal text gets this far.
    if (body.empty() ||
        !(isDigit(body.front()) || (body.front() == '.' && body.size() > 1 && isDigit(body[1])))) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, error] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (error != std::errc() || end != body.data() + body.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

namespace {

// The sign and the magnitude of `<integer>` text, when the magnitude fits 64 unsigned bits.
std::optional<std::uint64_t> integerMagnitude(std::string_view text, bool& negative) {
    text = trimXmlSpace(text);
    negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return magnitude;
}

} // namespace

std::optional<std::uint64_t> parseUnsignedBeyondSigned(std::string_view text) {
    bool negative = false;
    const std::optional<std::uint64_t> magnitude = integerMagnitude(text, negative);
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!magnitude || negative || *magnitude <= kMax) {
        return std::nullopt;
    }
    return magnitude;
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
    bool negative = false;
    const std::optional<std::uint64_t> parsedMagnitude = integerMagnitude(text, negative);
    if (!parsedMagnitude) {
        return std::nullopt;
    }
    const std::uint64_t magnitude = *parsedMagnitude;
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (!negative) {
        if (magnitude > kMax) {
            return std::nullopt;
        }
        return static_cast<std::int64_t>(magnitude);
    }
    if (magnitude > kMax + 1) {
        return std::nullopt;
    }
    return magnitude == kMax + 1 ? std::numeric_limits<std::int64_t>::min()
                                 : -static_cast<std::int64_t>(magnitude);
}

void appendReal(std::string& out, double value) {
    if (std::isnan(value)) {
        out.append("nan");
    } else if (std::isinf(value)) {
        out.append(value > 0 ? "+infinity" : "-infinity");
    } else if (value == 0) {
        out.append("0.0");
    } else {
        // to_chars with precision 17 in general form is exactly printf's "%.17g", without the
        // locale's decimal separator.
        char text[40];
        const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
        out.append(text, result.ptr);
    }
}

} // namespace plist
