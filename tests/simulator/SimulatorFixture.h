#pragma once
// A simulated device in this process, without hooking libraries unless a test loads them, and a
// simulator that runs script text against it and keeps what it printed.

#include "simulator/device/Device.h"
#include "simulator/device/DeviceFolder.h"
#include "simulator/script/Simulator.h"

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

/// 2026-12-07T08:00:00Z.
inline constexpr double kSimulatorStart = 1796630400.0;

class SimulatorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto system = sim::findDeviceSystemFolder();
        ASSERT_TRUE(system.has_value()) << "the build's device folder is missing";
        sim::DeviceSettings settings;
        settings.systemFolder = *system;
        settings.home = home.path();
        settings.profile = *sim::deviceProfileNamed("iphone-4");
        settings.localeIdentifier = "en_US";
        settings.timeZoneName = "UTC";
        settings.startUnixSeconds = kSimulatorStart;
        settings.loadLibraries = false;
        static_cast<void>(home.file("Library/Preferences/.keep"));
        device = std::make_unique<sim::Device>(settings);
    }
    void TearDown() override { device.reset(); }

    /// Runs `script` (lines separated by newlines); returns the exit status.
    int run(const std::string& script) {
        std::istringstream in(script);
        auto reader = sim::streamLineReader(in, "test");
        sim::Simulator simulator(*device, out, err);
        return simulator.run(*reader);
    }
    /// Runs `dump` and parses what it printed.
    nlohmann::json dump() {
        out.str("");
        EXPECT_EQ(run("dump\n"), sim::kExitOk);
        std::string text = out.str();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << "dump prints one line";
        return nlohmann::json::parse(text);
    }
    /// The Clock settings file (nil when missing).
    [[nodiscard]] std::shared_ptr<NSDictionary> clockSettings() const {
        return plist::dictionaryWithContentsOfFile(home.path() +
                                                   "/Library/Preferences/com.apple.mobiletimer.plist");
    }

    TemporaryDirectory home;
    std::unique_ptr<sim::Device> device;
    std::ostringstream out;
    std::ostringstream err;
};

} // namespace testing_support
