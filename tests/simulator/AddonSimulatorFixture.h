#pragma once
// A simulated device in this process with the add-on's hooks installed from this program's own
// copy, so that every case starts from empty slots (a library opened again would not run its
// initialiser again).

#include "tests/simulator/SimulatorFixture.h"

#include "addon/hooks/AddonState.h"
#include "addon/hooks/HookInstaller.h"

namespace testing_support {

class AddonSimulatorTest : public SimulatorTest {
  protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        lv::resetAddonState();
        lv::installHooks();
    }
    void TearDown() override {
        if (device && device->clockRunning()) {
            device->quitClock();
        }
        lv::resetAddonState();
        SimulatorTest::TearDown();
    }
};

} // namespace testing_support
