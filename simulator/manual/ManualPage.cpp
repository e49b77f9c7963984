#include "simulator/manual/ManualPage.h"

#include "simulator/script/Simulator.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace sim::manual {
namespace {

// Decodes one UTF-8 sequence at `at`; a byte that starts no valid sequence stands for itself
// as U+FFFD.
std::uint32_t nextCodePoint(std::string_view text, std::size_t& at) {
    auto byte = static_cast<unsigned char>(text[at++]);
    int more = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    if (more == 0) {
        return byte < 0x80 ? byte : 0xFFFD;
    }
    std::uint32_t code = byte & (0x3FU >> more);
    for (int i = 0; i < more; ++i) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0U) != 0x80U) {
            return 0xFFFD;
        }
        code = (code << 6U) | (static_cast<unsigned char>(text[at++]) & 0x3FU);
    }
    return code;
}

std::string joined(const std::vector<std::string>& words, const std::string& separator) {
    std::string text;
    for (const auto& word : words) {
        text += (text.empty() ? "" : separator) + word;
    }
    return text;
}

std::string commandName(const CommandModel& command) {
    std::string name = "lapvane";
    for (const auto& word : command.path) {
        name += " " + word;
    }
    return name;
}

// "lapvane sim [options] [scripts...]" in bold and italics.
std::string synopsisLine(const CommandModel& command) {
    std::string line = ".B \"" + roffText(commandName(command)) + "\"\n";
    bool options = false;
    for (const auto& option : command.options) {
        if (option.isOperand()) {
            line += "[\\fI" + roffText(option.valueName) + "\\fR" + (option.repeats ? "...]" : "]") + "\n";
        } else {
            options = true;
        }
    }
    if (options) {
        line.insert(line.find('\n') + 1, "[\\fIoptions\\fR]\n");
    }
    if (!command.subcommands.empty()) {
        line += command.needsSubcommand ? "\\fIcommand\\fR\n" : "[\\fIcommand\\fR]\n";
    }
    return line;
}

std::string optionEntry(const OptionModel& option) {
    std::string entry = ".TP\n";
    if (option.isOperand()) {
        entry += "\\fI" + roffText(option.valueName) + "\\fR" + (option.repeats ? "..." : "") + "\n";
    } else {
        std::string names;
        for (const auto& name : option.names) {
            names += (names.empty() ? "" : ", ") + ("\\fB" + roffText(name) + "\\fR");
        }
        entry +=
            names + (option.valueName.empty() ? "" : " \\fI" + roffText(option.valueName) + "\\fR") + "\n";
    }
    std::string text = option.description;
    std::string choices = option.choices.empty() ? "" : "one of: " + joined(option.choices, ", ");
    std::string defaultValue = option.defaultValue.empty() ? "" : "default: " + option.defaultValue;
    if (!choices.empty() || !defaultValue.empty()) {
        text += " (" + choices + (choices.empty() || defaultValue.empty() ? "" : "; ") + defaultValue + ")";
    }
    return entry + roffText(text) + "\n";
}

std::string scriptCommandEntry(const CommandSpec& command) {
    std::string entry = ".TP\n\\fB" + roffText(command.name) + "\\fR";
    if (!command.argumentsUsage.empty()) {
        entry += " \\fI" + roffText(command.argumentsUsage) + "\\fR";
    }
    return entry + "\n" + roffText(command.summary) + "\n";
}

// Lists under subsection headings, each entry a tagged paragraph with its term in bold.
std::string manualLists(const std::vector<ManualList>& lists) {
    std::string text;
    for (const auto& list : lists) {
        text += ".SS \"" + roffText(list.heading) + "\"\n" + roffText(list.introduction) + "\n";
        for (const auto& entry : list.entries) {
            text += ".TP\n\\fB" + roffText(entry.term) + "\\fR\n" + roffText(entry.text) + "\n";
        }
    }
    return text;
}

} // namespace

std::string roffText(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (std::size_t at = 0; at < text.size();) {
        char c = text[at];
        if (lineStart && (c == '.' || c == '\'')) {
            out += "\\&";
        }
        lineStart = c == '\n';
        if (c == '\\') {
            out += "\\e";
            ++at;
        } else if (c == '-') {
            out += "\\-";
            ++at;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            std::uint32_t code = nextCodePoint(text, at);
            std::array<char, 16> name{};
            std::snprintf(name.data(), name.size(), "\\[u%04X]", static_cast<unsigned>(code));
            out += name.data();
        } else {
            out += c;
            ++at;
        }
    }
    return out;
}

std::string manualPage(const std::vector<CommandModel>& commands,
                       const std::vector<CommandSpec>& scriptCommands, const ManualFacts& facts) {
    const CommandModel& program = commands.front();
    std::string summary = program.description;
    // "Lapvane: the stopwatch add-on ..." names the program once already in the NAME line.
    if (std::size_t colon = summary.find(": "); colon != std::string::npos) {
        summary = summary.substr(colon + 2);
    }
    std::string page =
        ".\\\" Generated at build time from the program's command line and its script commands.\n";
    page += ".TH LAPVANE 1 \"\" \"lapvane " + roffText(facts.version) + "\" \"User Commands\"\n";
    // No hyphenation and a ragged right edge: names, paths and values are typed as printed.
    page += ".nh\n.ad l\n";
    page += ".SH NAME\nlapvane \\- " + roffText(summary) + "\n";

    page += ".SH SYNOPSIS\n";
    bool first = true;
    for (const auto& command : commands) {
        if (!command.path.empty() && command.subcommands.empty()) {
            page += (first ? "" : ".br\n") + synopsisLine(command);
            first = false;
        }
    }
    page += ".br\n.B lapvane \\-\\-version\n";

    page += ".SH DESCRIPTION\n";
    page += "\\fBlapvane\\fR runs the stopwatch add-on on a simulated device and reads the results it "
            "saves.\nEach command below says what it does; every command takes \\fB\\-\\-help\\fR.\n";

    page += ".SH OPTIONS\n";
    for (const auto& option : program.options) {
        page += optionEntry(option);
    }

    page += ".SH COMMANDS\n";
    for (const auto& command : commands) {
        if (command.path.empty()) {
            continue;
        }
        page += ".SS \"" + roffText(commandName(command)) + "\"\n" + roffText(command.description) + ".\n";
        if (!command.subcommands.empty()) {
            page += "Its commands: " + roffText(joined(command.subcommands, ", ")) + ".\n";
        }
        for (const auto& option : command.options) {
            page += optionEntry(option);
        }
    }

    page += ".SH SCRIPT COMMANDS\n";
    page += "\\fBlapvane sim\\fR reads these commands from its script files or standard input, one a "
            "line; \\fB#\\fR starts a comment.\n";
    page += "At a terminal, \\fBhelp\\fR lists them and Tab completes them.\n";
    for (const auto& command : scriptCommands) {
        page += scriptCommandEntry(command);
    }

    if (!facts.window.empty()) {
        page += ".SH WINDOW\n";
        page += "\\fBlapvane window\\fR takes the mouse and the keyboard; every gesture is the one the "
                "matching script command makes.\n";
        page += manualLists(facts.window);
    }
    if (!facts.outputFormats.empty()) {
        page += ".SH OUTPUT FORMATS\n";
        page += "Text outputs show control characters in names escaped (\\ex1b); JSON and CSV "
                "carry them as data. Times are in seconds.\n";
        page += manualLists(facts.outputFormats);
    }

    page += ".SH EXIT STATUS\n";
    for (const auto& [status, meaning] : exitStatusMeanings()) {
        page += ".TP\n.B " + std::to_string(status) + "\n" + roffText(meaning) + "\n";
    }

    page += ".SH FILES\n";
    page += ".TP\n\\fI" + roffText(facts.defaultHome) + "\\fR\n" +
            roffText("The device's home folder when --home is not given. Its Library/Preferences/" +
                     facts.savedTimesFileName + " holds the saved times.") +
            "\n";
    page +=
        ".TP\n\\fI" + roffText("../share/lapvane/device/") + "\\fR\n" +
        roffText(
            "Beside the program's own folder: the device's system folder, with the Clock "
            "application's bundle and the add-on Lapvane.so in Library/MobileSubstrate/DynamicLibraries/.") +
        "\n";
    page +=
        ".TP\n\\fI" + roffText("../lib/lapvane/lapvane-window.so") + "\\fR\n" +
        roffText(
            "Beside the program's own folder: the window of lapvane window, loaded only by that command.") +
        "\n";

    page += ".SH ENVIRONMENT\n";
    page += ".TP\n.B TZ\n" +
            roffText("The time zone of dates when --tz is not given (the system's zone when unset).") + "\n";
    page += ".TP\n.B LC_ALL\\fR, \\fBLANG\n" +
            roffText("The locale of dates when --locale is not given: LC_ALL when it is set and not empty, "
                     "else LANG.") +
            "\n";
    page += ".TP\n.B DISPLAY\\fR, \\fBWAYLAND_DISPLAY\n" +
            roffText("The display lapvane window opens on; without one it says so and exits 1.") + "\n";
    page += ".TP\n.B XDG_DATA_HOME\n" +
            roffText("The default home folder is $XDG_DATA_HOME/lapvane/home when it is set.") + "\n";
    page += ".TP\n.B LAPVANE_TRACE\n" +
            roffText("A comma-separated list of send, hooks, runloop, store and frames: logs message sends, "
                     "hook installs, delayed messages, each change written to the saved-times file (the "
                     "record's date and its sections) and each picture lapvane window draws (the "
                     "device's clock).") +
            "\n";
    if (!facts.examples.empty()) {
        page += ".SH EXAMPLES\n";
        for (const auto& example : facts.examples) {
            page += ".PP\n" + roffText(example.text) + "\n.PP\n.RS 4\n.EX\n" + roffText(example.term) +
                    "\n.EE\n.RE\n";
        }
    }
    return page;
}

} // namespace sim::manual
