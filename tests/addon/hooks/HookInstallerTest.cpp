#include "addon/hooks/HookInstaller.h"
#include "addon/hooks/HostMessages.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "tests/addon/hooks/HookTestFixture.h"

#include <gtest/gtest.h>

namespace {

using Journal = std::vector<std::string>;

class HookInstallerTest : public testing_support::HookTest {};

TEST_F(HookInstallerTest, InAProcessWithAllThreeClassesEveryStepTakesEffectAndTheHostsMethodsStillRun) {
    registerHosts();
    writeClockSettings(0, 2);
    lv::installHooks();
    const auto& slots = lv::addonState().slots;
    EXPECT_TRUE(slots.currentDefaultPNGName && slots.applicationDidFinishLaunching && slots.viewDidLoad &&
                slots.clearAllLaps && slots.stopTimer && slots.startTimer);
    Method added = class_getInstanceMethod(objc_getClass("StopWatchViewController"),
                                           sel_registerName("saveButtonClicked"));
    ASSERT_NE(added, nullptr);
    EXPECT_STREQ(method_getTypeEncoding(added), lv::host::saveButtonClicked.types());

    // The launch image replacement stands in for the host's own work for other applications only.
    EXPECT_EQ(rt::send(fake::SBApplication::withBundleIdentifier("com.example.other"),
                       lv::host::currentDefaultPNGName)
                  ->str(),
              "Default.png");
    EXPECT_EQ(fake::journal(), Journal{"host _currentDefaultPNGName"});
    fake::journal().clear();

    // Start-up runs first, then the add-on's tab work, which selects through the delegate.
    auto app = rt::make<fake::AppController>();
    rt::send(app, lv::host::applicationDidFinishLaunching, id{});
    EXPECT_EQ(fake::journal(),
              (Journal{"host applicationDidFinishLaunching:", "host _selectViewController:"}));
    fake::journal().clear();

    // The stopwatch screen's own methods run last, after the button is built or its look set.
    auto screen = fake::StopWatchViewController::make();
    ASSERT_TRUE(screen->view());
    rt::send(screen, lv::host::startTimer);
    rt::send(screen, lv::host::stopTimer);
    rt::send(screen, lv::host::clearAllLaps);
    EXPECT_EQ(fake::journal(),
              (Journal{"host viewDidLoad", "host _startTimer", "host _stopTimer", "host _clearAllLaps"}));
    EXPECT_FALSE(lv::addonState().button.expired());
}

TEST_F(HookInstallerTest,
       InAProcessWithOnlySpringBoardsClassTheLaunchImageHookIsInstalledAndNothingElseFails) {
    registerHosts(false);
    writeClockSettings(0, 5);
    lv::installHooks();
    const auto& slots = lv::addonState().slots;
    EXPECT_TRUE(slots.currentDefaultPNGName);
    EXPECT_FALSE(slots.applicationDidFinishLaunching || slots.viewDidLoad || slots.startTimer);
    EXPECT_EQ(objc_getClass("StopWatchViewController"), nullptr);
    auto clock = fake::SBApplication::withBundleIdentifier("com.apple.mobiletimer");
    EXPECT_EQ(rt::send(clock, lv::host::currentDefaultPNGName)->str(), "Default-clock-saved@2x~lapvane.png");
    EXPECT_TRUE(fake::journal().empty());
}

} // namespace
