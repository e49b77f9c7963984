// Writes the manual page lapvane(1) and the bash completion of `lapvane`, both read from the
// command line the program parses with and from the script's command table. Run by the build:
//   lapvane_manual MAN-PAGE-FILE COMPLETION-FILE

#include "simulator/LapvaneCommand.h"
#include "simulator/manual/CommandLineModel.h"
#include "simulator/manual/CompletionScript.h"
#include "simulator/manual/ManualPage.h"

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
        sim::manual::ManualFacts facts{LAPVANE_VERSION, sim::defaultDeviceHome(), lv::kSavedTimesFileName};
        bool written = writeFile(argv[1], sim::manual::manualPage(commands, sim::commandTable(), facts));
        written = writeFile(argv[2], sim::manual::bashCompletion(commands)) && written;
        return written ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "lapvane_manual: " << e.what() << '\n';
        return 1;
    }
}
