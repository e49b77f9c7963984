// Writes the manual page lapvane(1) and the bash completion of `lapvane`, both read from the
// command line the program parses with and from the script's command table. Run by the build:
//   lapvane_manual MAN-PAGE-FILE COMPLETION-FILE

#include "simulator/LapvaneCommand.h"
#include "simulator/manual/CommandLineModel.h"
#include "simulator/manual/CompletionScript.h"
#include "simulator/manual/ManualExamples.h"
#include "simulator/manual/ManualPage.h"
#include "simulator/times/OutputFormats.h"
#include "simulator/window/WindowInputs.h"

#include "addon/store/SavedTimesStore.h"
#include "simulator/device/DeviceHome.h"
#include "simulator/script/CommandTable.h"

#include <CLI/CLI.hpp>

#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>

namespace {

bool writeFile(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "lapvane_manual: cannot write " << path << '\n';
        return false;
    }
    return true;
}

std::vector<sim::manual::ManualEntry> entriesOf(const std::vector<sim::OutputField>& fields) {
    std::vector<sim::manual::ManualEntry> entries;
    for (const auto& field : fields) {
        entries.push_back({field.name, field.meaning});
    }
    return entries;
}

std::vector<sim::manual::ManualList> windowLists() {
    sim::manual::ManualList keys{
        "Keys", "The window's keys; other keys type into the front alert's field.", {}};
    for (const auto& shortcut : sim::windowShortcuts()) {
        keys.entries.push_back({shortcut.shown, shortcut.meaning});
    }
    sim::manual::ManualList pointer{"Mouse", "The pointer acts on whatever is drawn under it.", {}};
    for (const auto& gesture : sim::windowGestures()) {
        pointer.entries.push_back({gesture.input, gesture.meaning});
    }
    return {keys, pointer};
}

std::vector<sim::manual::ManualList> outputFormatLists() {
    return {
        {"lapvane times export --format csv",
         "A header row, then one row per saved result in section order, as RFC 4180 writes CSV (lines end in "
         "CR "
         "LF), in UTF-8. The columns:",
         entriesOf(sim::csvColumns())},
        {"lapvane times export --format json",
         "One document {\"sections\": [{\"name\", \"records\": [...]}]}; each record holds:",
         entriesOf(sim::exportRecordFields())},
        {"lapvane times stats --format json",
         "One document {\"sections\": [...]}; a value is null where there is nothing to measure. Each "
         "section "
         "holds:",
         entriesOf(sim::statsSectionFields())},
        {"Each record of the statistics", "Each record holds:", entriesOf(sim::statsRecordFields())},
        {"dump", "The script command dump (and Ctrl+D in the window) prints one JSON object a line:",
         entriesOf(sim::dumpFields())},
    };
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: lapvane_manual MAN-PAGE-FILE COMPLETION-FILE\n";
        return 2;
    }
    // Defaults that depend on who runs the program are described, not the builder's own: the
    // home folder's default reads as "~/.local/share/lapvane/home".
    setenv("HOME", "~", 1);
    unsetenv("XDG_DATA_HOME");
    try {
        CLI::App app;
        int status = 0;
        sim::defineLapvaneCommand(app, status, LAPVANE_VERSION);
        auto commands = sim::manual::commandLineModel(app);
        sim::manual::ManualFacts facts{LAPVANE_VERSION,         sim::defaultDeviceHome(),
                                       lv::kSavedTimesFileName, windowLists(),
                                       outputFormatLists(),     sim::manual::manualExamples()};
        bool written = writeFile(argv[1], sim::manual::manualPage(commands, sim::commandTable(), facts));
        written = writeFile(argv[2], sim::manual::bashCompletion(commands)) && written;
        return written ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "lapvane_manual: " << e.what() << '\n';
        return 1;
    }
}
