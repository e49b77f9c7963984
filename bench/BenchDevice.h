#pragma once
// The parts of a simulated device that the measured operations need, in force for the object's
// lifetime: a runtime, the home folder, a virtual clock and its run loop, the toolkit's state for
// a 4-inch phone, the Clock bundle's images and an English region in UTC.

#include "platform/foundation/BundleRegistry.h"
#include "platform/foundation/NSPathUtilities.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/Region.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Environment.h"

#include <string>

namespace bench {

/// The 4-inch phone the browser is measured on.
ui::DeviceConfiguration benchPhone();

struct BenchDevice {
    /// A device whose home folder is `home`.
    explicit BenchDevice(const std::string& home);

    rt::Runtime runtime;
    rt::Runtime::Scope runtimeScope{runtime};
    ns::HomeDirectory::Scope homeScope;
    ns::VirtualClock clock;
    NSRunLoop runLoop{clock};
    NSRunLoop::Scope runLoopScope{runLoop};
    ui::Environment environment{benchPhone()};
    ui::Environment::Scope environmentScope{environment};
    ns::BundleRegistry bundles;
    ns::BundleRegistry::Scope bundleScope{bundles};
    ns::Region::Scope region{ns::Region{"en_US", "UTC"}};
};

} // namespace bench
