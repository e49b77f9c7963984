#include "simulator/CommandWords.h"

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
        if (commands.empty() || word.empty() || word[0] == '-') {
            return {};
        }
        auto found = std::find_if(commands.begin(), commands.end(),
                                  [&](const CLI::App* command) { return command->get_name() == word; });
        if (found == commands.end()) {
            return path + ": unknown command \"" + word + "\"\n" + commandList(path, commands);
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

} // namespace sim
