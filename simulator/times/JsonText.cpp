#include "simulator/times/JsonText.h"

#include "simulator/times/ShortestNumber.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>

namespace sim {

namespace {

// True when dump() copies the text unchanged between its quotes: valid UTF-8 without control
// characters, quotation marks or backslashes (it escapes nothing else when it keeps UTF-8).
bool copiedAsIs(std::string_view value) {
    const auto* p = reinterpret_cast<const unsigned char*>(value.data());
    const auto* end = p + value.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            if (c < 0x20 || c == '"' || c == '\\') {
                return false;
            }
            ++p;
            continue;
        }
        // Anything beyond ASCII goes the library's own way, which checks it as UTF-8.
        return false;
    }
    return true;
}

} // namespace

JsonText& JsonText::string(std::string_view value) {
    if (copiedAsIs(value)) {
        text_.push_back('"');
        text_.append(value);
        text_.push_back('"');
    } else {
        text_.append(nlohmann::ordered_json(std::string(value))
                         .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
    }
    return *this;
}

JsonText& JsonText::number(float value) {
    if (!std::isfinite(value)) {
        return null();
    }
    char digits[kJsonNumberTextSize];
    text_.append(digits, jsonNumberText(value, digits));
    return *this;
}

JsonText& JsonText::count(std::size_t value) {
    char digits[24];
    text_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    return *this;
}

JsonText& JsonText::null() {
    text_.append("null");
    return *this;
}

JsonText& JsonText::raw(std::string_view text) {
    text_.append(text);
    return *this;
}

} // namespace sim
