#include "simulator/script/ScriptCommand.h"

#include "simulator/device/TerminalText.h"

#include "simulator/script/CommandTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sim {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::vector<std::string> splitWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) {
            ++i;
        }
        std::size_t start = i;
        while (i < text.size() && !isBlank(text[i])) {
            ++i;
        }
        if (i > start) {
            words.emplace_back(text.substr(start, i - start));
        }
    }
    return words;
}

std::optional<int> readIndex(const std::string& word) {
    int value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc{} || end != word.data() + word.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

// Beyond a billion seconds the virtual clock could no longer keep tenths apart.
constexpr double kLongestWait = 1e9;

std::optional<double> readSeconds(const std::string& word) {
    // A decimal in any of the usual spellings: 2, 2.5, .5, +5, 1e6.
    std::string_view digits = word;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    double value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || digits.front() == '-' || error != std::errc{} ||
        end != digits.data() + digits.size() || !std::isfinite(value) || value < 0 || value > kLongestWait) {
        return std::nullopt;
    }
    return value;
}

ParsedLine fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

ParsedLine usage(const CommandSpec& entry, const std::string& why = {}) {
    return fail("usage: " + entry.usage() + (why.empty() ? std::string() : " (" + why + ")"));
}

} // namespace

ParsedLine parseScriptLine(std::string_view line) {
    std::size_t first = 0;
    while (first < line.size() && isBlank(line[first])) {
        ++first;
    }
    if (first == line.size() || line[first] == '#') {
        return {};
    }
    std::size_t nameEnd = first;
    while (nameEnd < line.size() && !isBlank(line[nameEnd]) && line[nameEnd] != '#') {
        ++nameEnd;
    }
    std::string name(line.substr(first, nameEnd - first));
    const CommandSpec* entry = findCommand(name);
    if (entry == nullptr) {
        return fail("unknown command \"" + terminalText(name) + "\" (try \"help\")");
    }
    using Kind = ArgumentShape::Kind;
    const ArgumentShape& shape = entry->arguments;
    ScriptCommand command;
    command.name = name;

    if (shape.kind == Kind::Text || shape.kind == Kind::OptionalText) {
        // The text starts after exactly one space and runs to the end of the line, blanks and
        // '#' included: it is what the user types into a field or reads on a button.
        if (nameEnd < line.size() && line[nameEnd] != ' ') {
            return usage(*entry);
        }
        command.text = nameEnd < line.size() ? std::string(line.substr(nameEnd + 1)) : std::string();
        if (shape.kind == Kind::Text) {
            // A button's title is matched exactly, but blanks at the end of a script line are
            // invisible, so they are not part of it.
            command.text.erase(command.text.find_last_not_of(" \t") + 1);
            if (command.text.empty()) {
                return usage(*entry);
            }
        }
        return {std::move(command), {}};
    }

    std::string_view rest = line.substr(nameEnd);
    if (std::size_t hash = rest.find('#'); hash != std::string_view::npos) {
        rest = rest.substr(0, hash);
    }
    command.words = splitWords(rest);
    switch (shape.kind) {
    case Kind::None:
        if (!command.words.empty()) {
            return fail("\"" + name + "\" takes no arguments");
        }
        break;
    case Kind::Word:
        if (command.words.size() != 1 ||
            (!shape.choices.empty() && std::find(shape.choices.begin(), shape.choices.end(),
                                                 command.words[0]) == shape.choices.end())) {
            return usage(*entry);
        }
        break;
    case Kind::Seconds: {
        std::optional<double> seconds =
            command.words.size() == 1 ? readSeconds(command.words[0]) : std::nullopt;
        if (!seconds) {
            return usage(*entry, "a number of seconds from 0 to 1000000000, such as 2.5 or 1e6");
        }
        command.seconds = *seconds;
        break;
    }
    case Kind::Numbers:
        if (static_cast<int>(command.words.size()) != shape.count) {
            return usage(*entry);
        }
        for (const auto& word : command.words) {
            std::optional<int> index = readIndex(word);
            if (!index) {
                return usage(*entry, "\"" + word + "\" is not a section or row number");
            }
            command.numbers.push_back(*index);
        }
        break;
    case Kind::Text:
    case Kind::OptionalText:
        break;
    }
    return {std::move(command), {}};
}

const std::vector<std::string>& commandNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto& entry : commandTable()) {
            all.push_back(entry.name);
        }
        return all;
    }();
    return names;
}

} // namespace sim
