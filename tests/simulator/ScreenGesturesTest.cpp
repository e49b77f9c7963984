// Pointer and keys on the screen become the toolkit's gestures on what is drawn there: a tab, the
// stopwatch's buttons, the Saved tab's rows, bar items and editing controls, an alert's buttons
// and text field. The add-on is loaded, as on the phone.

#include "tests/simulator/SimulatorFixture.h"

#include "simulator/ScreenGestures.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;

// The screen of the "iphone-4" profile (320 x 568 points): five tabs of 64 points in a bar of 49
// at the bottom.
CGPoint tabPoint(int index) {
    return {static_cast<CGFloat>(64 * index + 32), 545};
}

class ScreenGesturesTest : public testing_support::SimulatorTest {
  protected:
    void SetUp() override {
        SimulatorTest::SetUp();
        device.reset();
        auto system = sim::findDeviceSystemFolder();
        sim::DeviceSettings settings;
        settings.systemFolder = *system;
        settings.home = home.path();
        settings.profile = *sim::deviceProfileNamed("iphone-4");
        settings.localeIdentifier = "en_US";
        settings.timeZoneName = "UTC";
        settings.startUnixSeconds = testing_support::kSimulatorStart;
        device = std::make_unique<sim::Device>(settings);
        device->launchClock();
        device->runFor(1);
    }
    // The frame of the first button titled `title` on screen, as the dump shows it.
    sim::ScreenGestures gestures() { return sim::ScreenGestures(*device); }
};

TEST_F(ScreenGesturesTest, AClickOnATabShowsIt) {
    auto g = gestures();
    EXPECT_TRUE(g.click(tabPoint(3)));
    EXPECT_EQ(dump()["tab"]["index"], 3);
    EXPECT_TRUE(g.click(tabPoint(4)));
    EXPECT_EQ(dump()["tab"]["index"], 4);
}

} // namespace
