#include "simulator/LapvaneCommand.h"

#include "simulator/CommandWords.h"
#include "simulator/Commands.h"
#include "simulator/cli/CommandLineErrors.h"
#include "simulator/times/TimesCommand.h"
#include "simulator/window/WindowCommand.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <memory>

namespace sim {
namespace {

// `lapvane help [COMMAND...]`: what `lapvane COMMAND... --help` prints.
void addHelpCommand(CLI::App& app, int& status) {
    auto* command = app.add_subcommand("help", "Describe a command, as COMMAND --help does");
    auto words = std::make_shared<std::vector<std::string>>();
    command->add_option("command", *words, "The command and its subcommand words, e.g. times list")
        ->type_name("COMMAND");
    command->callback([&app, &status, words] {
        std::string problem;
        std::vector<std::string> found = commandPathWords(app, *words, problem);
        if (!problem.empty()) {
            std::cerr << problem;
            status = 1;
            return;
        }
        const CLI::App* target = &app;
        std::string path = app.get_name();
        for (const std::string& word : found) {
            target = target->get_subcommand(word);
            path += " " + word;
        }
        std::cout << target->get_formatter()->make_help(target, path, CLI::AppFormatMode::Normal);
    });
}

} // namespace

void defineLapvaneCommand(CLI::App& app, int& status, const std::string& version) {
    app.name("lapvane");
    app.description("Lapvane: the stopwatch add-on on a simulated device");
    app.set_version_flag("--version", "lapvane " + version);
    app.require_subcommand(1);
    // A refused command line is one line, as every other error: what is wrong, and where to look.
    app.failure_message(
        [](const CLI::App* parsed, const CLI::Error& e) { return commandLineErrorText(*parsed, e); });
    addSimCommand(app, status);
    addDemoCommand(app, status);
    addTimesCommand(app, status);
    addWindowCommand(app, status);
    addHelpCommand(app, status);
}

} // namespace sim
