#include "simulator/manual/CommandLineModel.h"

#include <CLI/CLI.hpp>

#include <cctype>

namespace sim::manual {
namespace {

// The values of a validator that accepts a fixed set, from the description CLI11 gives it
// ("{iphone-3.5,iphone-4,ipad}"), which follows the type name after a colon.
std::vector<std::string> choicesIn(const std::string& typeName) {
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

// The word that stands for an option's value: its long name in capitals ("--home" is HOME).
std::string valueWord(const std::string& longName) {
    std::string word;
    for (char c : longName) {
        word += c == '-' ? '_' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return word;
}

OptionModel optionModel(const CLI::Option& option) {
    OptionModel model;
    for (const auto& name : option.get_snames()) {
        model.names.push_back("-" + name);
    }
    for (const auto& name : option.get_lnames()) {
        model.names.push_back("--" + name);
    }
    model.description = option.get_description();
    model.defaultValue = option.get_default_str();
    if (model.names.empty()) {
        model.valueName = option.get_name();
        model.repeats = option.get_items_expected_max() > 1;
    } else if (option.get_items_expected_max() > 0) {
        const auto& lnames = option.get_lnames();
        model.valueName = valueWord(lnames.empty() ? option.get_snames().front() : lnames.front());
    }
    if (model.isOperand() || !model.isFlag()) {
        model.choices = choicesIn(option.get_type_name());
    }
    return model;
}

void addCommand(const CLI::App& app, std::vector<std::string> path, std::vector<CommandModel>& models) {
    CommandModel model;
    model.path = path;
    model.description = app.get_description();
    model.needsSubcommand = app.get_require_subcommand_min() > 0;
    for (const CLI::Option* option : app.get_options()) {
        if (!option->get_group().empty()) {
            model.options.push_back(optionModel(*option));
        }
    }
    auto subcommands = app.get_subcommands([](const CLI::App* sub) { return !sub->get_group().empty(); });
    for (const CLI::App* sub : subcommands) {
        model.subcommands.push_back(sub->get_name());
    }
    models.push_back(std::move(model));
    for (const CLI::App* sub : subcommands) {
        std::vector<std::string> subPath = path;
        subPath.push_back(sub->get_name());
        addCommand(*sub, subPath, models);
    }
}

} // namespace

std::vector<CommandModel> commandLineModel(const CLI::App& app) {
    std::vector<CommandModel> models;
    addCommand(app, {}, models);
    return models;
}

} // namespace sim::manual
