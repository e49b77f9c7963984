#include "tests/addon/hooks/HookTestFixture.h"

#include "platform/foundation/NSNumber.h"

namespace testing_support {

HookTest::HookTest() {
    lv::resetAddonState();
    fake::journal().clear();
    fake::saveEnabledWhenHostRan().clear();
    bundles.add("com.apple.mobiletimer", std::string(LAPVANE_SOURCE_DIR) + "/hosts/clock/resources");
}

HookTest::~HookTest() {
    lv::resetAddonState();
}

void HookTest::writeClockSettings(double lastTime, std::optional<int> lastSelected) {
    auto settings = NSMutableDictionary::with();
    settings->setObject(NSNumber::withDouble(lastTime), "LASTTIME");
    if (lastSelected) {
        settings->setObject(NSNumber::withInteger(*lastSelected), "LAST_SELECTED_VIEW");
    }
    writePreferences("com.apple.mobiletimer.plist", *settings);
}

void HookTest::registerHosts(bool clockApp) {
    runtime.classFor<fake::SBApplication>();
    if (clockApp) {
        runtime.classFor<fake::AppController>();
        runtime.classFor<fake::StopWatchViewController>();
    }
}

} // namespace testing_support
