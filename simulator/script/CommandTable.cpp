#include "simulator/script/CommandTable.h"
#include "simulator/script/ScriptCommand.h"

#include <algorithm>

namespace sim {

const std::vector<CommandSpec>& commandTable() {
    static const std::vector<CommandSpec> table = builtInCommands();
    return table;
}

const CommandSpec* findCommand(std::string_view name) {
    const auto& table = commandTable();
    auto found = std::find_if(table.begin(), table.end(),
                              [&](const CommandSpec& entry) { return entry.name == name; });
    return found == table.end() ? nullptr : &*found;
}

std::string helpText() {
    // Summaries line up after the usual usage lines; a longer one pushes its summary along.
    constexpr std::size_t kUsageColumn = 30;
    std::string text = "Script commands (one a line, # starts a comment):\n";
    for (const auto& entry : commandTable()) {
        std::string usage = entry.usage();
        std::size_t pad = usage.size() < kUsageColumn ? kUsageColumn - usage.size() : 2;
        text += "  " + usage + std::string(pad, ' ') + entry.summary + '\n';
    }
    text += "At the prompt: Tab completes, Ctrl-C clears the line, \"exit\" or Ctrl-D leaves.\n";
    return text;
}

const std::vector<std::string>& completionCandidates(std::string_view before) {
    static const std::vector<std::string> none;
    constexpr std::string_view kBlanks = " \t";
    std::size_t first = before.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return commandNames();
    }
    std::size_t nameEnd = before.find_first_of(kBlanks, first);
    if (nameEnd == std::string_view::npos ||
        before.find_first_not_of(kBlanks, nameEnd) != std::string_view::npos) {
        // Still inside the command word, or past the first argument.
        return none;
    }
    const CommandSpec* entry = findCommand(before.substr(first, nameEnd - first));
    return entry != nullptr && entry->arguments.kind == ArgumentShape::Kind::Word ? entry->arguments.choices
                                                                                  : none;
}

} // namespace sim
