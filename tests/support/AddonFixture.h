#pragma once
// A fresh runtime, a temporary device home and a fixed wall clock, for tests of the add-on's
// file operations.

#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/WallClock.h"
#include "platform/runtime/Runtime.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace testing_support {

/// 2026-12-07T08:00:00Z.
inline constexpr double kFixedNow = 1796630400.0;

class DeviceHomeTest : public ::testing::Test {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope runtimeScope{runtime};
    TemporaryDirectory home;
    ns::HomeDirectory::Scope homeScope{home.path()};
    ns::WallClock clock{[] { return kFixedNow; }};
    ns::WallClock::Scope clockScope{clock};
    // The device always has its preferences folder; the platform's writer creates no folders.
    std::string preferencesFolder = home.file("Library/Preferences/.keep");

    /// `<home>/Library/Preferences/<name>`, folders created.
    [[nodiscard]] std::string preferencesFile(const std::string& name) const {
        return home.file("Library/Preferences/" + name);
    }
    /// Writes a property-list dictionary to a preferences file.
    void writePreferences(const std::string& name, const NSDictionary& dictionary) const;
    /// Reads a preferences file back (nil when missing or unreadable).
    [[nodiscard]] std::shared_ptr<NSDictionary> readPreferences(const std::string& name) const;
    /// The string entries of an array stored under `key`.
    static std::vector<std::string> strings(const NSDictionary& dictionary, const std::string& key);
};

} // namespace testing_support
