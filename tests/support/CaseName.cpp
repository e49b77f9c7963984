#include "tests/support/CaseName.h"

#include <cstdio>
#include <set>
#include <vector>

namespace testing_support {
namespace {

bool isAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t';
}

bool isByteToSpell(unsigned char c) {
    return c < 0x20 || c >= 0x7f;
}

std::string hexByte(unsigned char c) {
    char text[8];
    std::snprintf(text, sizeof text, "x%02X", static_cast<unsigned>(c));
    return text;
}

std::string punctuationName(unsigned char c) {
    switch (c) {
    case ' ':
        return "blank";
    case '\t':
        return "tab";
    case '-':
        return "dash";
    case '.':
        return "dot";
    case '#':
        return "hash";
    case '@':
        return "at";
    case ':':
        return "colon";
    case ',':
        return "comma";
    case '+':
        return "plus";
    default:
        return hexByte(c);
    }
}

std::string joined(const std::vector<std::string>& tokens) {
    constexpr std::size_t kLongest = 60;
    std::string name;
    for (const auto& token : tokens) {
        if (!name.empty() && name.size() + 1 + token.size() > kLongest) {
            break;
        }
        name += (name.empty() ? "" : "_") + token;
    }
    return name.substr(0, kLongest);
}

} // namespace

std::string caseName(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
    }
    if (text.empty()) {
        return "empty";
    }
    bool anyAlnum = false;
    for (char c : text) {
        anyAlnum = anyAlnum || isAlnum(static_cast<unsigned char>(c));
    }
    std::vector<std::string> tokens;
    if (!anyAlnum) {
        for (char c : text) {
            if (c == '"') {
                continue;
            }
            std::string token = punctuationName(static_cast<unsigned char>(c));
            if (tokens.empty() || tokens.back() != token) {
                tokens.push_back(token);
            }
        }
        return tokens.empty() ? "empty" : joined(tokens);
    }
    std::size_t i = 0;
    if (isBlank(static_cast<unsigned char>(text[0]))) {
        tokens.emplace_back("blank");
    }
    std::string current;
    auto finish = [&] {
        if (!current.empty()) {
            tokens.push_back(current);
            current.clear();
        }
    };
    for (; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool numberFollows = i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9';
        if (isAlnum(c)) {
            current += static_cast<char>(c);
        } else if (c == '-' && current.empty() && numberFollows) {
            current = "minus";
        } else if (c == '-' && current.empty() && text.substr(i + 1, 3).size() == 3 &&
                   (text.substr(i + 1, 3) == "inf" || text.substr(i + 1, 3) == "Inf")) {
            tokens.emplace_back("minus");
        } else if (isByteToSpell(c)) {
            finish();
            tokens.push_back(hexByte(c));
        } else {
            finish();
        }
    }
    finish();
    if (isBlank(static_cast<unsigned char>(text.back()))) {
        tokens.emplace_back("blank");
    }
    return joined(tokens);
}

std::string uniqueCaseName(const std::string& name, std::size_t index) {
    static std::set<std::string> taken;
    if (index == 0) {
        taken.clear();
    }
    std::string unique = name;
    for (int n = 2; !taken.insert(unique).second; ++n) {
        unique = name + "_" + std::to_string(n);
    }
    return unique;
}

} // namespace testing_support
