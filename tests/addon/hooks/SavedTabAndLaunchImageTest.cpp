#include "addon/browser/LVViewController.h"
#include "addon/hooks/HookInstaller.h"
#include "addon/hooks/HostMessages.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UITabBarItem.h"
#include "tests/addon/hooks/HookTestFixture.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace {

class SavedTabTest : public testing_support::HookTest,
                     public ::testing::WithParamInterface<std::pair<int, int>> {
  protected:
    std::shared_ptr<UITabBarController> launch() {
        registerHosts();
        lv::installHooks();
        auto app = rt::make<fake::AppController>();
        rt::send(app, lv::host::applicationDidFinishLaunching, id{});
        return app->tabBarController();
    }
};

TEST_P(SavedTabTest, SelectsTheTabShownLast) {
    const auto [stored, expectedIndex] = GetParam();
    writeClockSettings(0, stored);
    auto tabs = launch();
    ASSERT_EQ(tabs->viewControllers().size(), 5U);
    EXPECT_EQ(tabs->selectedIndex(), NSUInteger(expectedIndex));
}

// 5 shows Saved, 3 the timer (now third), 4 the stopwatch (now fourth); values outside 1 to 5
// keep the host's own choice (the alarm tab in the fake host).
INSTANTIATE_TEST_SUITE_P(SavedTab, SavedTabTest,
                         ::testing::Values(std::pair{5, 4}, std::pair{3, 2}, std::pair{4, 3}, std::pair{1, 0},
                                           std::pair{0, 1}, std::pair{6, 1}, std::pair{-1, 1}),
                         [](const auto& info) {
                             return testing_support::caseName("stored " + std::to_string(info.param.first) +
                                                              " shows tab " +
                                                              std::to_string(info.param.second));
                         });

TEST_F(SavedTabTest, TheTabBarShowsFiveTabsWithTimerAndStopwatchExchangedAndSavedLast) {
    writeClockSettings(0, 2);
    auto tabs = launch();
    std::vector<std::string> titles;
    for (const auto& controller : tabs->viewControllers()) {
        titles.push_back(controller->title().value_or("?"));
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"World Clock", "Alarm", "Timer", "Stopwatch", "Saved"}));
    auto saved = rt::cast<LVViewController>(tabs->viewControllers()[4]);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved, lv::addonState().LVVC);
    ASSERT_TRUE(saved->tabBarItem()->image());
    EXPECT_NE(saved->tabBarItem()->image()->path().find("save_icon"), std::string::npos);
    EXPECT_FALSE(saved->isViewLoaded());
}

struct LaunchCase {
    const char* label;
    const char* bundle;
    int stored;
    ui::DeviceConfiguration device;
    const char* expected;
};

void PrintTo(const LaunchCase& c, std::ostream* out) {
    *out << c.label;
}

class LaunchImageTest : public testing_support::HookTest, public ::testing::WithParamInterface<LaunchCase> {};

TEST_P(LaunchImageTest, NamesTheImageOfTheTabTheClockWillOpenOn) {
    const auto& c = GetParam();
    environment.configure(c.device);
    registerHosts(false);
    writeClockSettings(0, c.stored);
    lv::installHooks();
    auto application = fake::SBApplication::withBundleIdentifier(c.bundle);
    EXPECT_EQ(rt::send(application, lv::host::currentDefaultPNGName)->str(), c.expected);
    const bool hostAsked = !fake::journal().empty();
    EXPECT_EQ(hostAsked, std::string(c.expected) == "Default.png");
}

const ui::DeviceConfiguration tallPhone{UIUserInterfaceIdiomPhone, {320, 568}, 2, 20};
const ui::DeviceConfiguration shortPhone{UIUserInterfaceIdiomPhone, {320, 480}, 2, 20};
const ui::DeviceConfiguration pad{UIUserInterfaceIdiomPad, {320, 568}, 2, 20};

INSTANTIATE_TEST_SUITE_P(LaunchImage, LaunchImageTest,
                         ::testing::Values(LaunchCase{"SavedOnTallPhone", "com.apple.mobiletimer", 5,
                                                      tallPhone, "Default-clock-saved-568h@2x~lapvane.png"},
                                           LaunchCase{"StopwatchOnShortPhone", "com.apple.mobiletimer", 4,
                                                      shortPhone, "Default-clock-stopwatch@2x~lapvane.png"},
                                           LaunchCase{"TimerOnPad", "com.apple.mobiletimer", 3, pad,
                                                      "Default-clock-timer-running@2x~lapvane.png"},
                                           LaunchCase{"ZeroOnTallPhone", "com.apple.mobiletimer", 0,
                                                      tallPhone, "Default-568h@2x~lapvane.png"},
                                           LaunchCase{"SixOnTallPhone", "com.apple.mobiletimer", 6, tallPhone,
                                                      "Default-568h@2x~lapvane.png"},
                                           LaunchCase{"NegativeOnTallPhone", "com.apple.mobiletimer", -1,
                                                      tallPhone, "Default-568h@2x~lapvane.png"},
                                           LaunchCase{"OtherApplication", "com.example.mail", 5, tallPhone,
                                                      "Default.png"},
                                           LaunchCase{"NoIdentifier", nullptr, 5, tallPhone, "Default.png"}),
                         [](const auto& info) { return std::string(info.param.label); });

// Every stored tab on every kind of screen: each tab's own image, and the 4-inch suffix only on
// a phone exactly 568 points tall (a taller phone, as a pad, has no image of its own).
struct ScreenCase {
    const char* label;
    ui::DeviceConfiguration device;
    const char* suffix;
};

void PrintTo(const ScreenCase& c, std::ostream* out) {
    *out << c.label;
}

class LaunchImageTableTest : public testing_support::HookTest,
                             public ::testing::WithParamInterface<std::tuple<int, ScreenCase>> {};

TEST_P(LaunchImageTableTest, EachStoredTabNamesItsOwnImage) {
    const auto& [stored, screen] = GetParam();
    environment.configure(screen.device);
    registerHosts(false);
    writeClockSettings(0, stored);
    lv::installHooks();
    static const std::map<int, std::string> kImages{{1, "Default-clock-worldclock"},
                                                    {2, "Default-clock-alarm"},
                                                    {3, "Default-clock-timer-running"},
                                                    {4, "Default-clock-stopwatch"},
                                                    {5, "Default-clock-saved"}};
    const auto image = kImages.find(stored);
    const std::string expected =
        (image == kImages.end() ? "Default" : image->second) + screen.suffix + ".png";
    auto application = fake::SBApplication::withBundleIdentifier("com.apple.mobiletimer");
    EXPECT_EQ(rt::send(application, lv::host::currentDefaultPNGName)->str(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    LaunchImage, LaunchImageTableTest,
    ::testing::Combine(::testing::Range(-1, 8),
                       ::testing::Values(ScreenCase{"TallPhone", tallPhone, "-568h@2x~lapvane"},
                                         ScreenCase{"TallerPhone",
                                                    {UIUserInterfaceIdiomPhone, {375, 667}, 2, 20},
                                                    "@2x~lapvane"},
                                         ScreenCase{"ShortPhone", shortPhone, "@2x~lapvane"},
                                         ScreenCase{"Pad", pad, "@2x~lapvane"})),
    [](const auto& info) {
        return testing_support::caseName("stored " + std::to_string(std::get<0>(info.param)) + " on " +
                                         std::get<1>(info.param).label);
    });

} // namespace
