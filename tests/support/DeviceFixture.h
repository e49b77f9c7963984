#pragma once
// A fresh simulated device for toolkit tests: its own runtime, clock, run loop and toolkit
// state, all in force for the test's lifetime, so nothing leaks between tests.

#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/VirtualClock.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/Environment.h"

#include <gtest/gtest.h>

namespace testing_support {

/// The parts of a device that the toolkit keeps process-wide, made fresh.
struct Device {
    explicit Device(ui::DeviceConfiguration configuration = {}) : environment(configuration) {}

    rt::Runtime runtime;
    rt::Runtime::Scope runtimeScope{runtime};
    ns::VirtualClock clock;
    NSRunLoop runLoop{clock};
    NSRunLoop::Scope runLoopScope{runLoop};
    ui::Environment environment;
    ui::Environment::Scope environmentScope{environment};
};

/// A test with a fresh device.
class DeviceTest : public ::testing::Test {
  protected:
    Device device;
    /// Runs the device's run loop for `seconds` of virtual time.
    std::size_t runFor(double seconds) { return device.runLoop.runFor(seconds); }
    [[nodiscard]] double now() const { return device.clock.now(); }
};

} // namespace testing_support
