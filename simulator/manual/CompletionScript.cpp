#include "simulator/manual/CompletionScript.h"

#include <algorithm>
#include <stdexcept>

namespace sim::manual {
namespace {

// Words go into the script unquoted, inside case patterns and compgen word lists.
const std::string& checkedWord(const std::string& word) {
    for (char c : word) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '_' || c == '.' || c == '+' || c == '/' || c == ',' || c == '@';
        if (!plain) {
            throw std::invalid_argument("bash completion: the word \"" + word + "\" would need quoting");
        }
    }
    if (word.empty()) {
        throw std::invalid_argument("bash completion: an empty word");
    }
    return word;
}

std::string pathKey(const CommandModel& command) {
    std::string key;
    for (const auto& word : command.path) {
        key += (key.empty() ? "" : " ") + checkedWord(word);
    }
    return key;
}

std::string wordList(const std::vector<std::string>& words) {
    std::string list;
    for (const auto& word : words) {
        list += (list.empty() ? "" : " ") + checkedWord(word);
    }
    return list;
}

} // namespace

std::string bashCompletion(const std::vector<CommandModel>& commands) {
    // Which words at each level are subcommands, and which options take a value (the word after
    // one is its value, not a command word).
    std::string walk;
    std::string values;
    std::string levels;
    std::string helpLevels;
    for (const auto& command : commands) {
        std::string key = pathKey(command);
        for (const auto& sub : command.subcommands) {
            walk += "            \"" + key + "|" + checkedWord(sub) + "\") path=\"" +
                    (key.empty() ? "" : key + " ") + sub + "\" ;;\n";
        }
        std::vector<std::string> valued;
        std::vector<std::string> options;
        for (const auto& option : command.options) {
            if (option.isOperand()) {
                continue;
            }
            for (const auto& name : option.names) {
                options.push_back(name);
                if (!option.isFlag()) {
                    valued.push_back(name);
                    std::string pattern = "\"" + key + "|" + checkedWord(name) + "\"";
                    values +=
                        "            " + pattern + ") " +
                        (option.choices.empty() ? std::string("return ;;\n")
                                                : "COMPREPLY=($(compgen -W \"" + wordList(option.choices) +
                                                      "\" -- \"$cur\"))\n" + "                return ;;\n");
                }
            }
        }
        for (const auto& name : valued) {
            walk += "            \"" + key + "|" + name + "\") skip=1 ;;\n";
        }
        levels += "        \"" + key + "\")\n            words=\"" + wordList(command.subcommands) +
                  "\"\n            options=\"" + wordList(options) + "\" ;;\n";
    }
    // `help` takes a command's words ("help times list"): after it, the words that can come next
    // in the command path so far, not file names.
    bool hasHelp = std::any_of(commands.begin(), commands.end(), [](const CommandModel& command) {
        return command.path == std::vector<std::string>{"help"};
    });
    if (hasHelp) {
        for (const auto& command : commands) {
            std::string key = pathKey(command);
            std::string helpKey = key.empty() ? "help" : "help " + key;
            for (const auto& sub : command.subcommands) {
                walk += "            \"" + helpKey + "|" + checkedWord(sub) + "\") path=\"" + helpKey + " " +
                        sub + "\" ;;\n";
            }
            if (!command.subcommands.empty()) {
                helpLevels += "        \"" + helpKey + "\")\n            words=\"" +
                              wordList(command.subcommands) + "\" ;;\n";
            }
        }
    }

    std::string script =
        R"(# bash completion for lapvane(1), generated at build time from the program's own command
# line definition.

_lapvane() {
    local cur="${COMP_WORDS[COMP_CWORD]}" prev="" option=""
    ((COMP_CWORD > 0)) && prev="${COMP_WORDS[COMP_CWORD - 1]}"
    # The command path typed so far ("times list"), stepping over option values.
    local path="" skip=0 i word
    for ((i = 1; i < COMP_CWORD; i++)); do
        word="${COMP_WORDS[i]}"
        if [[ "$word" == "=" ]]; then
            continue
        fi
        if ((skip)); then
            skip=0
            continue
        fi
        case "$path|$word" in
)" + walk +
        R"(        esac
    done
    # The value of an option: "--device ip", "--device=ip" (bash splits at the "=").
    if [[ "$cur" == "=" ]]; then
        option="$prev"
        cur=""
    elif [[ "$prev" == "=" ]] && ((COMP_CWORD > 1)); then
        option="${COMP_WORDS[COMP_CWORD - 2]}"
    elif [[ "$prev" == -* ]]; then
        option="$prev"
    fi
    if [[ -n "$option" ]]; then
        # A value without a fixed set of choices is left to file name completion.
        case "$path|$option" in
)" + values +
        R"(        esac
    fi
    local words="" options=""
    case "$path" in
)" + levels +
        R"(    esac
    case "$path" in
)" + helpLevels +
        R"(    esac
    if [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
    else
        COMPREPLY=($(compgen -W "$words" -- "$cur"))
    fi
}
complete -o default -F _lapvane lapvane
)";
    return script;
}

} // namespace sim::manual
