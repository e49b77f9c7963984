#include "simulator/manual/CommandLineModel.h"

#include "simulator/cli/OptionChoices.h"

#include <CLI/CLI.hpp>

#include <cctype>

namespace sim::manual {
namespace {

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
        // The value's name as the help shows it ("--home DIR"), else the long name in capitals.
        std::string typeName = option.get_type_name().substr(0, option.get_type_name().find(':'));
        const auto& lnames = option.get_lnames();
        model.valueName = !typeName.empty() && typeName != "TEXT"
                              ? typeName
                              : valueWord(lnames.empty() ? option.get_snames().front() : lnames.front());
    }
    if (model.isOperand() || !model.isFlag()) {
        model.choices = choicesInTypeName(option.get_type_name());
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
