// The layers only reach downward: the platform knows nothing of the hosts, the add-on or the
// simulator; the hosts know nothing of the add-on; the add-on reaches the hosts only through the
// runtime, never through their headers.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Every `#include "..."` under `folder` that names a header in one of the `forbidden` folders.
std::vector<std::string> forbiddenIncludes(const std::string& folder,
                                           const std::vector<std::string>& forbidden) {
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(LAPVANE_SOURCE_DIR) / folder)) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) {
            continue;
        }
        std::ifstream in(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(in, line)) {
            if (!std::regex_search(line, match, include)) {
                continue;
            }
            for (const auto& prefix : forbidden) {
                if (match[1].str().rfind(prefix, 0) == 0) {
                    found.push_back(entry.path().string() + ": " + match[1].str());
                }
            }
        }
    }
    return found;
}

TEST(Layering, ThePlatformIncludesNothingAboveIt) {
    EXPECT_EQ(forbiddenIncludes("platform", {"hosts/", "addon/", "simulator/"}), std::vector<std::string>{});
}

TEST(Layering, TheAddOnIncludesNoHostOrSimulatorHeader) {
    EXPECT_EQ(forbiddenIncludes("addon", {"hosts/", "simulator/"}), std::vector<std::string>{});
}

TEST(Layering, TheHostsIncludeNoAddOnOrSimulatorHeader) {
    EXPECT_EQ(forbiddenIncludes("hosts", {"addon/", "simulator/"}), std::vector<std::string>{});
}

TEST(Layering, TheSimulatorUsesOnlyTheAddOnsStoreNeverItsHooksOrViews) {
    EXPECT_EQ(forbiddenIncludes("simulator", {"addon/hooks/", "addon/browser/", "addon/views/"}),
              std::vector<std::string>{});
}

TEST(Layering, TheRendererKnowsOnlyThePlatformsViews) {
    EXPECT_EQ(
        forbiddenIncludes("simulator/render", {"hosts/", "addon/", "simulator/device/", "simulator/scene/",
                                               "simulator/script/", "simulator/commands/"}),
        std::vector<std::string>{});
}

// The simulator's rooms include one way: device <- scene <- script <- commands <- the `lapvane`
// commands at the top; `times` never starts a device; nothing in a room includes the top.
TEST(Layering, TheSimulatorsRoomsIncludeOneWay) {
    const std::vector<std::string> top = {"simulator/Commands.h", "simulator/CommandWords.h",
                                          "simulator/DemoScript.h"};
    auto with = [&](std::vector<std::string> rooms) {
        rooms.insert(rooms.end(), top.begin(), top.end());
        return rooms;
    };
    EXPECT_EQ(forbiddenIncludes("simulator/device",
                                with({"simulator/scene/", "simulator/script/", "simulator/commands/",
                                      "simulator/times/", "simulator/window/"})),
              std::vector<std::string>{});
    EXPECT_EQ(forbiddenIncludes("simulator/scene", with({"simulator/script/", "simulator/commands/",
                                                         "simulator/times/", "simulator/window/"})),
              std::vector<std::string>{});
    EXPECT_EQ(forbiddenIncludes("simulator/script",
                                with({"simulator/commands/", "simulator/times/", "simulator/window/"})),
              std::vector<std::string>{});
    EXPECT_EQ(forbiddenIncludes("simulator/commands", with({"simulator/times/", "simulator/window/"})),
              std::vector<std::string>{});
    EXPECT_EQ(forbiddenIncludes("simulator/times",
                                with({"simulator/device/Device.h", "simulator/scene/", "simulator/script/",
                                      "simulator/commands/", "simulator/window/", "simulator/render/"})),
              std::vector<std::string>{});
}

// A newcomer finds the simulator's files in their rooms: a few entry points at the top.
TEST(Layering, TheSimulatorsTopFolderHoldsOnlyItsEntryPoints) {
    int files = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(LAPVANE_SOURCE_DIR) / "simulator")) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_LE(files, 14);
}

} // namespace
