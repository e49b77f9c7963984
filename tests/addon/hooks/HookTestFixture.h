#pragma once
// A device for the hook tests: a fresh runtime with the fake hosts, a temporary home, the Clock
// bundle's images, a phone of a chosen size and the add-on's state emptied.

#include "addon/hooks/AddonState.h"
#include "platform/foundation/BundleRegistry.h"
#include "platform/uikit/Environment.h"
#include "tests/addon/hooks/FakeHosts.h"
#include "tests/support/AddonFixture.h"

#include <optional>

namespace testing_support {

class HookTest : public DeviceHomeTest {
  protected:
    HookTest();
    ~HookTest() override;

    /// Writes the Clock settings file with these keys (no lastSelected leaves that key out).
    void writeClockSettings(double lastTime, std::optional<int> lastSelected = std::nullopt);
    /// Registers the fake hosts' classes in the runtime, as the device does before loading.
    void registerHosts(bool clockApp = true);

    ui::Environment environment{ui::DeviceConfiguration{}};
    ui::Environment::Scope environmentScope{environment};
    ns::BundleRegistry bundles;
    ns::BundleRegistry::Scope bundleScope{bundles};
};

} // namespace testing_support
