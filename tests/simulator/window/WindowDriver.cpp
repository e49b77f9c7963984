#include "tests/simulator/window/WindowDriver.h"

#include "tests/support/TemporaryDirectory.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace testing_support {

bool haveWindowTools() {
    return std::system("command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1") == 0;
}

int drivenWindowStatus(const std::string& folder, int systemStatus) {
    std::ifstream kept(folder + "/window.status");
    int code = -1;
    if (kept >> code && code >= 0 && code < 256) {
        return code << 8; // as a wait status of a process that exited with `code`
    }
    return systemStatus;
}

std::string windowErrors(const std::string& folder) {
    std::string kept;
    std::istringstream errors(readWholeFile(folder + "/window.err"));
    for (std::string line; std::getline(errors, line);) {
        if (!line.starts_with("[frame] ")) {
            kept += line + (errors.eof() ? "" : "\n");
        }
    }
    return kept;
}

WindowRun driveWindow(const std::string& home, const std::string& folder, const std::string& steps,
                      const std::vector<std::string>& options, const std::string& screen) {
    std::filesystem::create_directories(folder + "/fb");
    std::ofstream(folder + "/steps") << steps;
    std::string arguments;
    for (const auto& option : options) {
        arguments += " '" + option + "'";
    }
    std::string command =
        "cd '" + folder + "' && XVFB_FBDIR='" + folder + "/fb' timeout -k 10 100 xvfb-run -a -s '-screen 0 " +
        screen + "x24 -nolisten tcp -fbdir " + folder +
        "/fb' '" LAPVANE_SOURCE_DIR "/tests/simulator/window/drive-window' '" LAPVANE_LAPVANE_EXE "' '" +
        home + "' '" + folder + "'" + arguments + " <'" + folder + "/steps' 2>'" + folder + "/driver.err'";
    WindowRun run;
    run.status = drivenWindowStatus(folder, std::system(command.c_str()));
    run.out = readWholeFile(folder + "/window.out");
    run.err = windowErrors(folder);
    run.driverErr = readWholeFile(folder + "/driver.err");
    run.folder = folder;
    return run;
}

nlohmann::json withoutTimes(const nlohmann::json& value, const std::string& key) {
    using nlohmann::json;
    if (value.is_object()) {
        json result = json::object();
        for (const auto& [k, v] : value.items()) {
            if (k != "time" && k != "at") {
                result[k] = withoutTimes(v, k);
            }
        }
        return result;
    }
    if (value.is_array()) {
        json result = json::array();
        for (const auto& v : value) {
            result.push_back(withoutTimes(v, key));
        }
        return result;
    }
    if (value.is_string()) {
        return key == "date" ? json("<date>")
                             : json(std::regex_replace(value.get<std::string>(), std::regex("[0-9]"), "#"));
    }
    return value;
}

std::string fileWithoutTimes(const std::string& text) {
    std::string result = std::regex_replace(text, std::regex("<real>[^<]*</real>"), "<real/>");
    return std::regex_replace(result, std::regex("<date>[^<]*</date>"), "<date/>");
}

} // namespace testing_support
