#include "platform/foundation/NSBundle.h"
#include "platform/foundation/BundleRegistry.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/Region.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class BundleTest : public ::testing::Test {
  protected:
    BundleTest() {
        folder_ = fs::temp_directory_path() / ("lapvane-bundle-" + std::to_string(getpid()));
        fs::create_directories(folder_ / "de.lproj");
        for (const char* name : {"Default.png", "Info.plist", "README", "StopWatch.png"}) {
            std::ofstream(folder_ / name) << name;
        }
        std::ofstream(folder_ / "de.lproj" / "Localizable.strings") << "x";
        registry_.add("com.apple.mobiletimer", folder_);
        registry_.setMainBundleIdentifier("com.apple.mobiletimer");
    }
    ~BundleTest() override {
        std::error_code error;
        fs::remove_all(folder_, error);
    }

    [[nodiscard]] std::string lookup(const std::string& name, const std::string& type) const {
        const auto path =
            NSBundle::bundleWithIdentifier("com.apple.mobiletimer")->pathForResourceOfType(name, type);
        return path ? path->str() : "nil";
    }

    rt::Runtime runtime_;
    rt::Runtime::Scope runtimeScope_{runtime_};
    fs::path folder_;
    ns::BundleRegistry registry_;
    ns::BundleRegistry::Scope registryScope_{registry_};
};

TEST_F(BundleTest, FindsRegisteredBundlesOnly) {
    const auto bundle = NSBundle::bundleWithIdentifier("com.apple.mobiletimer");
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(bundle, NSBundle::bundleWithIdentifier("com.apple.mobiletimer"));
    EXPECT_EQ(bundle, NSBundle::mainBundle());
    EXPECT_EQ(bundle->bundlePath(), folder_.string());
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.apple.MobileTimer"), nullptr);
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.example.unknown"), nullptr);
}

TEST_F(BundleTest, ResourceLookups) {
    const std::string root = folder_.string() + "/";
    EXPECT_EQ(lookup("Default", "png"), root + "Default.png");
    EXPECT_EQ(lookup("README", ""), root + "README");
    EXPECT_EQ(lookup("Default.png", ""), root + "Default.png");
    EXPECT_EQ(lookup("default", "png"), "nil");
    EXPECT_EQ(lookup("Default", "PNG"), "nil");
    EXPECT_EQ(lookup("Missing", "png"), "nil");
    EXPECT_EQ(lookup("", "png"), "nil");
    EXPECT_EQ(lookup("../Default", "png"), "nil");
}

TEST_F(BundleTest, LocalizedResourcesFollowTheCurrentLanguage) {
    {
        const ns::Region::Scope german{ns::Region{"de_DE", "Europe/Berlin"}};
        EXPECT_EQ(lookup("Localizable", "strings"), (folder_ / "de.lproj" / "Localizable.strings").string());
    }
    const ns::Region::Scope english{ns::Region{"en_US", "Europe/Berlin"}};
    EXPECT_EQ(lookup("Localizable", "strings"), "nil");
}

TEST(BundleWithoutRegistry, IsNil) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    EXPECT_EQ(NSBundle::mainBundle(), nullptr);
    EXPECT_EQ(NSBundle::bundleWithIdentifier("com.apple.mobiletimer"), nullptr);
}

TEST(HomeDirectory, IsWhatTheDeviceConfigured) {
    EXPECT_FALSE(ns::HomeDirectory::isConfigured());
    // Never the HOME of whoever runs the tests.
    EXPECT_THROW((void)NSHomeDirectory(), NSException);
    {
        const ns::HomeDirectory::Scope device{"/tmp/device-home"};
        EXPECT_EQ(NSHomeDirectory(), "/tmp/device-home");
        {
            const ns::HomeDirectory::Scope inner{"/tmp/other-home"};
            EXPECT_EQ(NSHomeDirectory(), "/tmp/other-home");
        }
        EXPECT_EQ(NSHomeDirectory(), "/tmp/device-home");
    }
    EXPECT_FALSE(ns::HomeDirectory::isConfigured());
}

} // namespace
