#pragma once
// A fresh device for the Clock application's tests: runtime, clock and run loop, toolkit state,
// a temporary home and the Clock bundle's images from the source tree.

#include "hosts/clock/ClockPreferences.h"
#include "platform/foundation/BundleRegistry.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace testing_support {

class ClockHostTest : public DeviceTest {
  protected:
    ClockHostTest() {
        bundles.add("com.apple.mobiletimer", std::string(LAPVANE_SOURCE_DIR) + "/hosts/clock/resources");
        static_cast<void>(home.file("Library/Preferences/.keep"));
    }

    /// The settings file as it is on disk (nil when missing).
    [[nodiscard]] std::shared_ptr<NSDictionary> settings() const {
        return plist::dictionaryWithContentsOfFile(clk::ClockPreferences::path());
    }
    /// A number in the settings file; nullopt when missing.
    [[nodiscard]] std::optional<double> setting(const std::string& key) const {
        auto file = settings();
        auto number = file ? file->objectAs<NSNumber>(key) : nullptr;
        return number ? std::optional<double>(number->doubleValue()) : std::nullopt;
    }
    /// Writes the settings file with the given entries.
    void writeSettings(const NSDictionary::Entries& entries) const {
        ASSERT_TRUE(plist::writeToFile(*NSDictionary::with(entries), clk::ClockPreferences::path(), true).ok);
    }

    TemporaryDirectory home;
    ns::HomeDirectory::Scope homeScope{home.path()};
    ns::BundleRegistry bundles;
    ns::BundleRegistry::Scope bundlesScope{bundles};
};

} // namespace testing_support
