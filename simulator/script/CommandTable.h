#pragma once
// Every simulator command in one table: its name, the shape of its arguments, its usage line,
// what must be on screen before it can act, and the function that carries it out. Parsing,
// `help`, terminal completion and dispatch all read this table, so a command is added by adding
// its entry (and writing its handler).

#include <string>
#include <string_view>
#include <vector>

namespace sim {

struct CommandContext;
struct ScriptCommand;

/// What a command's arguments look like.
struct ArgumentShape {
    enum class Kind {
        /// Nothing after the command word.
        None,
        /// One word; when `choices` is not empty, one of them.
        Word,
        /// `count` section or row numbers (whole numbers, not negative).
        Numbers,
        /// One number of seconds (decimal, not negative).
        Seconds,
        /// Everything after the one space that follows the command word, not empty; blanks at
        /// the end of the line are dropped.
        Text,
        /// Like Text, but may be empty and keeps every blank.
        OptionalText,
    };
    Kind kind = Kind::None;
    int count = 0;
    std::vector<std::string> choices;

    /// No arguments.
    static ArgumentShape none() { return {}; }
    /// One word, any word.
    static ArgumentShape word() { return {Kind::Word, 0, {}}; }
    /// One word out of `choices`.
    static ArgumentShape oneOf(std::vector<std::string> choices) {
        return {Kind::Word, 0, std::move(choices)};
    }
    /// `count` section or row numbers.
    static ArgumentShape numbers(int count) { return {Kind::Numbers, count, {}}; }
    /// A number of seconds.
    static ArgumentShape seconds() { return {Kind::Seconds, 0, {}}; }
    /// The rest of the line, not empty.
    static ArgumentShape text() { return {Kind::Text, 0, {}}; }
    /// The rest of the line, possibly empty.
    static ArgumentShape optionalText() { return {Kind::OptionalText, 0, {}}; }
};

/// What must be on screen before a command can act. Each requirement includes the ones it
/// builds on (the stopwatch tab can only be shown while the application runs with no alert in
/// front), and they are checked in that order, so the error names the first thing missing.
enum class Needs : unsigned {
    /// Nothing: the command works on the device as it is.
    Nothing = 0,
    /// The Clock application is running.
    App = 1U,
    /// ... and no alert is in front (every touch on the screen itself).
    NoAlert = 2U | App,
    /// ... and the stopwatch's tab is the one shown.
    StopwatchTab = 4U | NoAlert,
    /// ... and the Saved tab is the one shown.
    SavedTab = 8U | NoAlert,
    /// ... and it shows its saved-times table.
    SavedTable = 16U | SavedTab,
};

/// True when `needs` includes `part`.
constexpr bool includes(Needs needs, Needs part) {
    return (static_cast<unsigned>(needs) & static_cast<unsigned>(part)) == static_cast<unsigned>(part);
}

/// Whether a command is a person's touch on the screen: one run-loop pass follows a touch, as
/// the phone's run loop turns after every event.
enum class Touch : bool { No, Yes };

/// Carries out a command whose requirements were met. Returns why it could not be carried
/// out, empty when it was. Faults propagate as exceptions.
using CommandHandler = std::string (*)(CommandContext& context, const ScriptCommand& command);

/// One command.
struct CommandSpec {
    /// The command word.
    std::string name;
    /// Its arguments.
    ArgumentShape arguments;
    /// Its arguments as the usage line writes them, e.g. "SECTION ROW"; empty for none.
    std::string argumentsUsage;
    /// What it does, in a few words, for `help`.
    std::string summary;
    /// What must be on screen first.
    Needs needs = Needs::Nothing;
    /// Whether it is a touch.
    Touch touch = Touch::No;
    /// Carries it out.
    CommandHandler handler = nullptr;

    /// How it is written, e.g. "tap SECTION ROW": shown by `help` and in usage errors.
    [[nodiscard]] std::string usage() const {
        return argumentsUsage.empty() ? name : name + " " + argumentsUsage;
    }
};

/// The commands themselves, in the order `help` lists them: each command group adds its entries
/// there (simulator/commands/), and the table reads them once.
std::vector<CommandSpec> builtInCommands();

/// Every command, in the order `help` lists them.
const std::vector<CommandSpec>& commandTable();

/// The command named `name`; nullptr when there is none.
const CommandSpec* findCommand(std::string_view name);

/// What `help` prints: every command's usage line and summary.
std::string helpText();

/// The words that may complete the word starting after `before` (the line up to that word):
/// every command name for the first word, the choices of a command's one-word argument for
/// that argument (the tab names after `tab`), none otherwise.
const std::vector<std::string>& completionCandidates(std::string_view before);

} // namespace sim
