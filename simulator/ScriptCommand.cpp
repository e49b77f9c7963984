#include "simulator/ScriptCommand.h"

#include <charconv>
#include <cmath>
#include <map>

namespace sim {
namespace {

// How many section/row numbers a command takes; -1 for commands that take other arguments.
struct Shape {
    enum Kind { NoArguments, Numbers, Word, Text, OptionalText, Seconds } kind;
    int numbers = 0;
    const char* usage = "";
};

const std::map<std::string, Shape, std::less<>>& shapes() {
    static const std::map<std::string, Shape, std::less<>> table = {
        {"launch", {Shape::NoArguments}},
        {"quit", {Shape::NoArguments}},
        {"launch-image", {Shape::Word, 0, "launch-image BUNDLE-ID"}},
        {"tab", {Shape::Word, 0, "tab world|alarm|timer|stopwatch|saved|1..5"}},
        {"start", {Shape::NoArguments}},
        {"stop", {Shape::NoArguments}},
        {"lap", {Shape::NoArguments}},
        {"reset", {Shape::NoArguments}},
        {"save", {Shape::NoArguments}},
        {"wait", {Shape::Seconds, 0, "wait SECONDS"}},
        {"tap", {Shape::Numbers, 2, "tap SECTION ROW"}},
        {"back", {Shape::NoArguments}},
        {"edit", {Shape::NoArguments}},
        {"done", {Shape::NoArguments}},
        {"add", {Shape::NoArguments}},
        {"swipe", {Shape::Numbers, 2, "swipe SECTION ROW"}},
        {"unswipe", {Shape::NoArguments}},
        {"delete", {Shape::Numbers, 2, "delete SECTION ROW"}},
        {"move", {Shape::Numbers, 4, "move SECTION ROW SECTION ROW"}},
        {"type", {Shape::OptionalText, 0, "type TEXT"}},
        {"button", {Shape::Text, 0, "button TITLE"}},
        {"screen", {Shape::NoArguments}},
        {"dump", {Shape::NoArguments}},
        {"help", {Shape::NoArguments}},
    };
    return table;
}

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

std::optional<double> readSeconds(const std::string& word) {
    double value = 0;
    auto [end, error] =
        std::from_chars(word.data(), word.data() + word.size(), value, std::chars_format::fixed);
    // Beyond a billion seconds the virtual clock could no longer keep tenths apart.
    constexpr double kLongestWait = 1e9;
    if (error != std::errc{} || end != word.data() + word.size() || !std::isfinite(value) || value < 0 ||
        value > kLongestWait) {
        return std::nullopt;
    }
    return value;
}

bool isTabName(const std::string& word) {
    static const char* const names[] = {"world", "alarm", "timer", "stopwatch", "saved",
                                        "1",     "2",     "3",     "4",         "5"};
    for (const char* known : names) {
        if (word == known) {
            return true;
        }
    }
    return false;
}

ParsedLine fail(std::string why) {
    return {std::nullopt, std::move(why)};
}

ParsedLine usage(const Shape& shape) {
    return fail(std::string("usage: ") + shape.usage);
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
    auto found = shapes().find(name);
    if (found == shapes().end()) {
        return fail("unknown command \"" + name + "\" (try \"help\")");
    }
    const Shape& shape = found->second;
    ScriptCommand command;
    command.name = name;

    if (shape.kind == Shape::Text || shape.kind == Shape::OptionalText) {
        // The text starts after exactly one space and runs to the end of the line, blanks and
        // '#' included: it is what the user types into a field or reads on a button.
        if (nameEnd < line.size() && line[nameEnd] != ' ') {
            return usage(shape);
        }
        command.text = nameEnd < line.size() ? std::string(line.substr(nameEnd + 1)) : std::string();
        if (shape.kind == Shape::Text) {
            // A button's title is matched exactly, but blanks at the end of a script line are
            // invisible, so they are not part of it.
            command.text.erase(command.text.find_last_not_of(" \t") + 1);
            if (command.text.empty()) {
                return usage(shape);
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
    case Shape::NoArguments:
        if (!command.words.empty()) {
            return fail("\"" + name + "\" takes no arguments");
        }
        break;
    case Shape::Word:
        if (command.words.size() != 1) {
            return usage(shape);
        }
        if (name == "tab" && !isTabName(command.words[0])) {
            return usage(shape);
        }
        break;
    case Shape::Seconds: {
        std::optional<double> seconds =
            command.words.size() == 1 ? readSeconds(command.words[0]) : std::nullopt;
        if (!seconds) {
            return fail(std::string("usage: ") + shape.usage + " (a number of seconds, not negative)");
        }
        command.seconds = *seconds;
        break;
    }
    case Shape::Numbers:
        if (static_cast<int>(command.words.size()) != shape.numbers) {
            return usage(shape);
        }
        for (const auto& word : command.words) {
            std::optional<int> index = readIndex(word);
            if (!index) {
                return fail(std::string("usage: ") + shape.usage + " (\"" + word +
                            "\" is not a section or row number)");
            }
            command.numbers.push_back(*index);
        }
        break;
    case Shape::Text:
    case Shape::OptionalText:
        break;
    }
    return {std::move(command), {}};
}

const std::vector<std::string>& commandNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (const auto& [name, shape] : shapes()) {
            all.push_back(name);
        }
        return all;
    }();
    return names;
}

} // namespace sim
