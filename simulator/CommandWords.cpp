#include "simulator/CommandWords.h"

#include "simulator/device/TerminalText.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace sim {
namespace {

std::vector<const CLI::App*> commandsOf(const CLI::App& app) {
    return app.get_subcommands([](const CLI::App*) { return true; });
}

// The commands of a level with their descriptions, and where to read more.
std::string commandList(const std::string& path, const std::vector<const CLI::App*>& commands) {
    std::size_t width = 0;
    for (const auto* command : commands) {
        width = std::max(width, command->get_name().size());
    }
    std::string list = "Commands:\n";
    for (const auto* command : commands) {
        list += "  " + command->get_name() + std::string(width - command->get_name().size() + 2, ' ') +
                command->get_description() + '\n';
    }
    return list + "Run \"" + path + " --help\" for more.\n";
}

} // namespace

std::string commandWordsProblem(const CLI::App& app, const std::vector<std::string>& arguments) {
    const CLI::App* level = &app;
    std::string path = app.get_name();
    for (const std::string& word : arguments) {
        auto commands = commandsOf(*level);
        if (commands.empty() || word == "--") {
            return {};
        }
        if (word.size() > 1 && word[0] == '-') {
            // Before the command word only this level's own options (--help, --version) may come.
            if (level->get_option_no_throw(word.substr(0, word.find('='))) != nullptr) {
                return {};
            }
            return path + ": unknown option \"" + terminalText(word.substr(0, word.find('='))) + "\"\n" +
                   commandList(path, commands);
        }
        auto found = std::find_if(commands.begin(), commands.end(),
                                  [&](const CLI::App* command) { return command->get_name() == word; });
        if (found == commands.end()) {
            return path + ": unknown command \"" + terminalText(word) + "\"\n" + commandList(path, commands);
        }
        level = *found;
        path += " " + word;
    }
    auto commands = commandsOf(*level);
    if (!commands.empty() && level->get_require_subcommand_min() > 0) {
        return path + ": a command is required\n" + commandList(path, commands);
    }
    return {};
}

std::string emptyValueProblem(const std::vector<std::string>& arguments) {
    for (const std::string& word : arguments) {
        if (word == "--") {
            break;
        }
        if (word.size() > 3 && word.starts_with("--") && word.back() == '=') {
            std::string name = word.substr(0, word.size() - 1);
            return "lapvane: " + terminalText(name) + " is empty: give a value after \"=\", or leave " +
                   terminalText(name) + " out for the default\n";
        }
    }
    return {};
}

std::vector<std::string> commandPathWords(const CLI::App& app, const std::vector<std::string>& words,
                                          std::string& problem) {
    const CLI::App* level = &app;
    std::string path = app.get_name();
    std::vector<std::string> found;
    for (const std::string& word : words) {
        auto commands = commandsOf(*level);
        auto next = std::find_if(commands.begin(), commands.end(),
                                 [&](const CLI::App* command) { return command->get_name() == word; });
        if (next == commands.end()) {
            problem =
                path + ": unknown command \"" + terminalText(word) + "\"\n" +
                (commands.empty() ? "Run \"" + path + " --help\" for more.\n" : commandList(path, commands));
            return {};
        }
        level = *next;
        path += " " + word;
        found.push_back(word);
    }
    return found;
}

} // namespace sim
