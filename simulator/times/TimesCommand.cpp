// `lapvane times`: lists, exports, summarises or checks the saved-times file. It only reads:
// nothing here writes.

#include "simulator/times/TimesCommand.h"

#include "simulator/cli/OptionChoices.h"
#include "simulator/device/DeviceHome.h"
#include "simulator/device/PathOption.h"
#include "simulator/device/StartTime.h"
#include "simulator/device/TerminalText.h"
#include "simulator/times/LapStatistics.h"
#include "simulator/times/SavedTimesCheck.h"
#include "simulator/times/SavedTimesCsv.h"
#include "simulator/times/SavedTimesReport.h"

#include "platform/foundation/PropertyListOptions.h"
#include "platform/foundation/Region.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace sim {
namespace {

struct TimesOptions {
    std::string home;
    std::string file;
    std::string format = "json";
    std::string statsFormat = "text";
    std::string section;
    std::string locale;
    std::string timeZone;

    [[nodiscard]] std::string path() const {
        if (!file.empty()) {
            return file;
        }
        return (home.empty() ? defaultDeviceHome() : home) + "/Library/Preferences/com.varnoth.lapvane.plist";
    }
    /// `--file -`: the file's bytes come on standard input, as other tools read "-".
    [[nodiscard]] bool fromStandardInput() const { return file == "-"; }
    /// The file's name in messages: the path as given, escaped, or "standard input".
    [[nodiscard]] std::string shownPath() const {
        return fromStandardInput() ? std::string("standard input") : terminalText(path());
    }
};

// Every byte of standard input, or nullopt with `reason` when it cannot be read or holds more
// than the property-list readers accept.
std::optional<std::string> readStandardInput(std::string& reason) {
    const std::size_t limit = plist::Limits{}.maxBytes;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            reason = std::strerror(errno);
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > limit) {
            reason = "more than " + std::to_string(limit >> 20) + " MB, the most a saved-times file may hold";
            return std::nullopt;
        }
    }
}

// `check` reports itself what stands at the file's path (a folder, a FIFO), so it takes any path
// that is not empty; the other commands read the file and refuse what is not one.
enum class FileCheck { WholeReport, MustBeAFile };

void addPathOptions(CLI::App& command, TimesOptions& options, FileCheck fileCheck = FileCheck::MustBeAFile) {
    auto* home = command
                     .add_option("--home", options.home,
                                 "The device's home folder (holds Library/Preferences; default: " +
                                     defaultDeviceHome() + ")")
                     ->type_name("DIR");
    auto* file =
        command.add_option("--file", options.file, "A saved-times file to read; - reads standard input")
            ->type_name("PATH");
    home->excludes(file);
    file->excludes(home);
    // A name given empty is refused rather than read as "the default": the check runs while the
    // line is parsed, so an empty --home never reaches the user's own saved times. A name given
    // must name something: only the default home may be absent (nothing saved yet).
    home->check(
        [](const std::string& path) { return pathOptionProblem({}, path, PathKind::ExistingFolder); });
    file->check([fileCheck](const std::string& path) {
        if (path == "-") {
            return std::string();
        }
        return pathOptionProblem(
            {}, path, fileCheck == FileCheck::MustBeAFile ? PathKind::ExistingFile : PathKind::Existing);
    });
}

void addFileOptions(CLI::App& command, TimesOptions& options) {
    addPathOptions(command, options);
    command
        .add_option("--locale", options.locale,
                    "Locale of the date texts, e.g. en_US (default: LC_ALL, else LANG)")
        ->type_name("LOCALE");
    command
        .add_option("--tz", options.timeZone, "Time zone of the date texts, e.g. Europe/Berlin (default: TZ)")
        ->type_name("ZONE");
}

// Reads the report, or says in one line why it cannot and sets a failing status.
bool readReport(const TimesOptions& options, SavedTimesReport& report, int& status) {
    if (!options.timeZone.empty() && !isKnownTimeZone(options.timeZone)) {
        std::cerr << "lapvane: unknown time zone \"" << terminalText(options.timeZone)
                  << "\"; give a name such as Europe/Berlin or UTC.\n";
        status = 1;
        return false;
    }
    if (!options.locale.empty() && !isKnownLocale(options.locale)) {
        std::cerr << "lapvane: unknown locale \"" << terminalText(options.locale)
                  << "\"; give one such as en_US or de_DE.\n";
        status = 1;
        return false;
    }
    ns::Region::Scope region(ns::Region{options.locale, options.timeZone});
    if (options.fromStandardInput()) {
        std::string reason;
        std::optional<std::string> bytes = readStandardInput(reason);
        if (!bytes) {
            std::cerr << "lapvane: cannot read the saved times from standard input: " << reason << ".\n";
            status = 1;
            return false;
        }
        if (bytes->empty()) {
            std::cerr << "lapvane: standard input is empty: send a saved-times file into --file -.\n";
            status = 1;
            return false;
        }
        report = savedTimesReportOfBytes(*bytes);
    } else {
        report = readSavedTimesReport(options.path());
    }
    if (report.status == SavedTimesReport::Status::Unreadable) {
        std::cerr << "lapvane: cannot read the saved times (" << terminalText(report.reason)
                  << "); the file was left unchanged: repair it or move it aside.\n";
        status = 1;
        return false;
    }
    return true;
}

} // namespace

void addTimesCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<TimesOptions>();
    auto* times = app.add_subcommand("times", "Read the saved-times file");
    times->require_subcommand(1);

    auto* list =
        times->add_subcommand("list", "List every section and its records as the Saved tab shows them");
    addFileOptions(*list, *options);
    list->callback([options, &status] {
        SavedTimesReport report;
        if (readReport(*options, report, status)) {
            std::cout << listText(report);
        }
    });

    auto* exporter = times->add_subcommand(
        "export", "Print the saved times as one JSON document or as CSV for a spreadsheet");
    addFileOptions(*exporter, *options);
    exporter->add_option("--format", options->format, "Output format: json or csv")
        ->type_name("FORMAT")
        ->check(oneOf({"json", "csv"}))
        ->required();
    exporter->callback([options, &status] {
        SavedTimesReport report;
        if (!readReport(*options, report, status)) {
            return;
        }
        if (report.status == SavedTimesReport::Status::Missing) {
            std::cerr << "lapvane: no saved times in " << options->shownPath() << ".\n";
        }
        if (options->format == "csv") {
            std::cout << exportCsv(report);
        } else {
            std::cout << exportJsonText(report) << '\n';
        }
    });

    auto* stats = times->add_subcommand(
        "stats",
        "Fastest, slowest and average laps and splits of each result; best, worst and average totals");
    addFileOptions(*stats, *options);
    stats->add_option("--section", options->section, "Only the section with this name")
        ->type_name("NAME")
        ->check([](const std::string& name) {
            return name.empty() ? std::string("the name is empty: give a section's name, or leave --section "
                                              "out for every section")
                                : std::string();
        });
    stats->add_option("--format", options->statsFormat, "Output format: text or json")
        ->type_name("FORMAT")
        ->check(oneOf({"text", "json"}))
        ->capture_default_str();
    stats->callback([options, stats, &status] {
        SavedTimesReport report;
        if (!readReport(*options, report, status)) {
            return;
        }
        if (stats->count("--section") > 0) {
            auto& sections = report.sections;
            std::erase_if(sections, [&](const ReportedSection& s) { return s.name != options->section; });
            if (sections.empty()) {
                std::cerr << "lapvane: there is no section named \"" << terminalText(options->section)
                          << "\" in " << options->shownPath() << "; `lapvane times list` names them.\n";
                status = 1;
                return;
            }
        }
        auto statistics = lapStatistics(report);
        if (options->statsFormat == "json") {
            std::cout << statisticsJsonText(statistics) << '\n';
        } else {
            std::cout << statisticsText(statistics);
        }
    });

    auto* check = times->add_subcommand("check", "Report every value the add-on would misread or drop");
    addPathOptions(*check, *options, FileCheck::WholeReport);
    check->callback([options, &status] {
        SavedTimesCheck result;
        if (options->fromStandardInput()) {
            std::string reason;
            std::optional<std::string> bytes = readStandardInput(reason);
            if (!bytes) {
                std::cerr << "lapvane: cannot read the saved times from standard input: " << reason << ".\n";
                status = 1;
                return;
            }
            result = checkSavedTimesBytes(*bytes);
        } else {
            result = checkSavedTimesFile(options->path());
        }
        std::cout << checkText(result, options->shownPath());
        if (!result.clean()) {
            status = 1;
        }
    });
}

} // namespace sim
