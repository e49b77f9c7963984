// Golden screens: each script in golden/ beside the screen text it must print. The first line of
// a script may name extra options ("# options: --no-addon"). golden/regenerate rewrites them.

#include "tests/simulator/LapvaneProgram.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::readWholeFile;

fs::path goldenFolder() {
    return fs::path(LAPVANE_SOURCE_DIR) / "tests" / "simulator" / "golden";
}

std::vector<std::string> scripts() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(goldenFolder())) {
        if (entry.path().extension() == ".script") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> optionsOf(const std::string& script) {
    std::vector<std::string> options;
    std::string first = script.substr(0, script.find('\n'));
    const std::string marker = "# options:";
    if (first.rfind(marker, 0) == 0) {
        std::istringstream words(first.substr(marker.size()));
        for (std::string word; words >> word;) {
            options.push_back(word);
        }
    }
    return options;
}

class GoldenScreen : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenScreen, PrintsTheExpectedScreens) {
    fs::path script = goldenFolder() / (GetParam() + ".script");
    std::string expected = readWholeFile((goldenFolder() / (GetParam() + ".screen")).string());
    ASSERT_FALSE(expected.empty()) << "no golden screen for " << script << "; run golden/regenerate";
    testing_support::TemporaryDirectory home;
    std::vector<std::string> arguments = {"sim",  "--home", home.path(), "--now", "2026-12-07T08:00:00Z",
                                          "--tz", "UTC",    "--locale",  "en_US"};
    for (const auto& option : optionsOf(readWholeFile(script.string()))) {
        arguments.push_back(option);
    }
    arguments.push_back(script.string());
    testing_support::ProgramRun run = testing_support::runLapvane(arguments);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, expected)
        << "screens changed; if that is intended, run tests/simulator/golden/regenerate "
           "and review the diff";
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenScreen, ::testing::ValuesIn(scripts()), [](const auto& info) {
    std::string name;
    for (char c : info.param) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
});

} // namespace
