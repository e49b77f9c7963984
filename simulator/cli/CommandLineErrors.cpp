#include "simulator/cli/CommandLineErrors.h"

#include "simulator/cli/OptionChoices.h"
#include "simulator/device/TerminalText.h"

#include <CLI/CLI.hpp>

namespace sim {
namespace {

// The command that was being parsed: the program and each command word that was read.
const CLI::App& deepestCommand(const CLI::App& app, std::string& path) {
    const CLI::App* level = &app;
    path = app.get_name();
    while (!level->get_subcommands().empty()) {
        level = level->get_subcommands().front();
        path += " " + level->get_name();
    }
    return *level;
}

// The text before the first ": " of a CLI11 message, which names the option ("--format: ...").
std::string optionNamedIn(const std::string& message) {
    std::size_t colon = message.find(": ");
    return colon == std::string::npos ? std::string() : message.substr(0, colon);
}

std::string inQuotes(const std::string& word) {
    return "\"" + word + "\"";
}

// "give --format json or --format csv", for an option with a fixed set of words.
std::string choiceAdvice(const CLI::App& command, const std::string& name) {
    const CLI::Option* option = command.get_option_no_throw(name);
    if (option == nullptr) {
        return {};
    }
    std::vector<std::string> choices = choicesInTypeName(option->get_type_name());
    std::string advice;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        advice += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + name + " " + choices[i];
    }
    return advice;
}

std::string problemOf(const CLI::App& app, const CLI::Error& error, const CLI::App& command) {
    const std::string message = error.what();
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        std::vector<std::string> extras = app.remaining(true);
        if (extras.empty()) {
            return "unexpected words on the command line";
        }
        const std::string& word = extras.front();
        if (word.size() > 1 && word[0] == '-') {
            std::string name = word.substr(0, word.find('='));
            return "unknown option " + inQuotes(name);
        }
        return "unexpected argument " + inQuotes(word) + " (an option's value follows the option)";
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        const std::string suffix = " is required";
        if (message.size() > suffix.size() && message.ends_with(suffix)) {
            std::string name = message.substr(0, message.size() - suffix.size());
            std::string advice = choiceAdvice(command, name);
            return name + " is required" + (advice.empty() ? std::string() : ": give " + advice);
        }
        return message;
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&error) != nullptr) {
        std::size_t at = message.find(" excludes ");
        if (at != std::string::npos) {
            return message.substr(0, at) + " and " + message.substr(at + 10) +
                   " cannot be given together: give one of them";
        }
        return message;
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        if (message.find("At Most") != std::string::npos) {
            return optionNamedIn(message) + " is given more than once: give it once";
        }
        // "Expected exactly 1 arguments to --home, got 0"
        std::size_t to = message.find(" to ");
        std::size_t comma = message.find(',', to);
        std::string name = to == std::string::npos || comma == std::string::npos
                               ? optionNamedIn(message)
                               : message.substr(to + 4, comma - to - 4);
        return name.empty() ? message : name + " needs a value: give it after the option";
    }
    // Our own checks' reasons ("--home: p/afile is a regular file, not a folder") and the rest.
    return message;
}

} // namespace

std::string commandLineErrorText(const CLI::App& app, const CLI::Error& error) {
    std::string path;
    const CLI::App& command = deepestCommand(app, path);
    // One line whatever the message held, and nothing the user typed can drive the terminal.
    std::string problem = terminalText(problemOf(app, error, command));
    return "lapvane: " + problem + " (see " + path + " --help)\n";
}

} // namespace sim
