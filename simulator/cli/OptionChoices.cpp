#include "simulator/cli/OptionChoices.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace sim {

CLI::Validator oneOf(const std::vector<std::string>& choices) {
    std::string set = "{";
    std::string listed;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        set += (i == 0 ? "" : ",") + choices[i];
        listed += (i == 0 ? "" : ", ") + choices[i];
    }
    set += "}";
    return CLI::Validator(
        [choices, listed](std::string& value) {
            if (std::find(choices.begin(), choices.end(), value) != choices.end()) {
                return std::string();
            }
            return "\"" + value + "\" is not one of " + listed;
        },
        set);
}

std::vector<std::string> choicesInTypeName(const std::string& typeName) {
    std::size_t open = typeName.find(":{");
    std::size_t close = typeName.find('}', open);
    if (open == std::string::npos || close == std::string::npos) {
        return {};
    }
    std::vector<std::string> choices;
    std::string list = typeName.substr(open + 2, close - open - 2);
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        std::string choice =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!choice.empty()) {
            choices.push_back(choice);
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return choices;
}

} // namespace sim
