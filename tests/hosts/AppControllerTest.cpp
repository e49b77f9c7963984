#include "hosts/clock/AppController.h"

#include "hosts/clock/ClockMessages.h"
#include "hosts/clock/StopWatchViewController.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITabBarItem.h"
#include "platform/uikit/UIWindow.h"
#include "tests/hosts/ClockHostFixture.h"
#include "tests/support/CaseName.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using testing_support::ClockHostTest;

class AppControllerTest : public ClockHostTest {
  protected:
    std::shared_ptr<AppController> launch() {
        auto app = AppController::appController();
        rt::send(id(app), clockmsg::applicationDidFinishLaunching, id());
        device.runLoop.runOnce();
        return app;
    }
    static std::vector<std::string> titles(const UITabBarController& tabs) {
        std::vector<std::string> out;
        for (const auto& controller : tabs.viewControllers()) {
            out.push_back(controller->title().value_or(""));
        }
        return out;
    }
};

TEST_F(AppControllerTest, StartUpBuildsTheWindowAndTheFourTabsInOrder) {
    auto app = launch();
    auto tabs = rt::cast<UITabBarController>(
        object_getIvar(app, class_getInstanceVariable(object_getClass(id(app)), "_tabBarController")));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(titles(*tabs), (std::vector<std::string>{"World Clock", "Alarm", "Stopwatch", "Timer"}));
    EXPECT_EQ(tabs->selectedIndex(), 0u);
    ASSERT_NE(app->window(), nullptr);
    EXPECT_TRUE(app->window()->isKeyWindow());
    EXPECT_EQ(app->window()->rootViewController(), tabs);
    for (const auto& controller : tabs->viewControllers()) {
        EXPECT_NE(controller->tabBarItem()->image(), nullptr) << controller->title().value_or("");
    }
}

struct LastSelectedCase {
    long long stored;
    NSUInteger selected;
};

void PrintTo(const LastSelectedCase& c, std::ostream* out) {
    *out << "stored " << c.stored;
}

class AppControllerLastSelectedTable : public AppControllerTest,
                                       public ::testing::WithParamInterface<LastSelectedCase> {};

TEST_P(AppControllerLastSelectedTable, ShowsTheTabLastShownWhenItIsOneOfItsOwn) {
    writeSettings({{"LAST_SELECTED_VIEW", NSNumber::withInteger(GetParam().stored)}});
    auto app = launch();
    EXPECT_EQ(app->tabBarController()->selectedIndex(), GetParam().selected);
    EXPECT_TRUE(app->tabBarController()->selectedViewController()->isViewLoaded());
}

INSTANTIATE_TEST_SUITE_P(Values, AppControllerLastSelectedTable,
                         ::testing::Values(LastSelectedCase{0, 0}, LastSelectedCase{1, 0},
                                           LastSelectedCase{2, 1}, LastSelectedCase{3, 2},
                                           LastSelectedCase{4, 3}, LastSelectedCase{5, 0},
                                           LastSelectedCase{-1, 0}, LastSelectedCase{99, 0}),
                         testing_support::PrintedName());

// Settings written by another program as a string or a boolean convert as the platform's
// intValue / doubleValue convert them; the full 64-bit range of a number is kept.
TEST_F(AppControllerTest, SettingsOfOtherTypesConvertAsThePlatformConvertsThem) {
    writeSettings({{"LAST_SELECTED_VIEW", NSString::with(" 3rd")}, {"LASTTIME", NSNumber::withBool(true)}});
    EXPECT_EQ(clk::ClockPreferences::integerValue("LAST_SELECTED_VIEW"), 3);
    EXPECT_EQ(clk::ClockPreferences::doubleValue("LASTTIME"), 1.0);
    EXPECT_EQ(launch()->tabBarController()->selectedIndex(), 2u);
    writeSettings({{"LAST_SELECTED_VIEW", NSNumber::withBool(true)},
                   {"LASTTIME", NSString::with("2.5e1")},
                   {"BIG", NSNumber::withInteger(INT64_C(5000000000))},
                   {"LIST", NSArray::with({NSNumber::withInteger(4)})}});
    EXPECT_EQ(clk::ClockPreferences::integerValue("LAST_SELECTED_VIEW"), 1);
    EXPECT_EQ(clk::ClockPreferences::doubleValue("LASTTIME"), 25.0);
    EXPECT_EQ(clk::ClockPreferences::integerValue("BIG"), INT64_C(5000000000));
    EXPECT_EQ(clk::ClockPreferences::integerValue("LIST"), 0);
    EXPECT_EQ(clk::ClockPreferences::doubleValue("LIST"), 0.0);
}

// A settings file kept elsewhere behind a link stays linked: the write replaces the target.
TEST_F(AppControllerTest, ALinkedSettingsFileStaysALink) {
    const std::string target = home.file("Elsewhere/clock.plist");
    std::filesystem::create_directories(std::filesystem::path(target).parent_path());
    std::filesystem::create_symlink("../../Elsewhere/clock.plist", clk::ClockPreferences::path());
    auto app = launch();
    ASSERT_TRUE(app->tabBarController()->simulateTapOnTab(2));
    EXPECT_TRUE(std::filesystem::is_symlink(clk::ClockPreferences::path()));
    auto stored = plist::dictionaryWithContentsOfFile(target);
    ASSERT_TRUE(stored);
    auto value = stored->objectAs<NSNumber>("LAST_SELECTED_VIEW");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->integerValue(), 3);
}

TEST_F(AppControllerTest, AUserTapRecordsThePositionOfTheTabAsTheBarNowStands) {
    auto app = launch();
    auto tabs = app->tabBarController();
    ASSERT_TRUE(tabs->simulateTapOnTab(2));
    EXPECT_EQ(setting("LAST_SELECTED_VIEW"), 3.0);

    // Rearranged as a loaded library may do: the stored value follows the new positions.
    auto controllers = tabs->viewControllers();
    std::swap(controllers[2], controllers[3]);
    auto extra = rt::make<UIViewController>();
    extra->setTitle("Extra");
    controllers.push_back(extra);
    tabs->setViewControllers(controllers);
    ASSERT_TRUE(tabs->simulateTapOnTab(4));
    EXPECT_EQ(setting("LAST_SELECTED_VIEW"), 5.0);
    ASSERT_TRUE(tabs->simulateTapOnTab(3));
    EXPECT_EQ(setting("LAST_SELECTED_VIEW"), 4.0);
}

TEST_F(AppControllerTest, ProgrammaticSelectionDoesNotRecordATab) {
    auto app = launch();
    rt::send(id(app), clockmsg::selectViewController, id(app->tabBarController()->viewControllers()[3]));
    EXPECT_EQ(app->tabBarController()->selectedIndex(), 3u);
    EXPECT_FALSE(setting("LAST_SELECTED_VIEW").has_value());
}

TEST_F(AppControllerTest, SelectingAControllerSendsTheAppearanceMessages) {
    auto app = launch();
    auto stopwatch = app->tabBarController()->viewControllers()[2];
    EXPECT_FALSE(stopwatch->isViewLoaded());
    rt::send(id(app), clockmsg::selectViewController, id(stopwatch));
    EXPECT_TRUE(stopwatch->isViewLoaded());
    EXPECT_TRUE(stopwatch->isAppearing());
    rt::send(id(app), clockmsg::selectViewController, id());
    EXPECT_EQ(app->tabBarController()->selectedViewController(), stopwatch);
}

TEST_F(AppControllerTest, SettingsWrittenByOthersSurviveTheHostsWrites) {
    writeSettings({{"SomeoneElse", NSString::with("kept")}});
    auto app = launch();
    ASSERT_TRUE(app->tabBarController()->simulateTapOnTab(1));
    auto file = settings();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->objectAs<NSString>("SomeoneElse")->str(), "kept");
    EXPECT_EQ(file->objectAs<NSNumber>("LAST_SELECTED_VIEW")->integerValue(), 2);
}

// The host's write replaces the settings file: a program that opened it before still reads the
// old settings whole, never a file cut short or half rewritten.
TEST_F(AppControllerTest, AReaderOfTheOldSettingsReadsThemWholeAfterTheHostWrites) {
    writeSettings({{"SomeoneElse", NSString::with("kept")}});
    const std::string before = testing_support::readWholeFile(clk::ClockPreferences::path());
    std::ifstream reader(clk::ClockPreferences::path(), std::ios::binary);
    ASSERT_TRUE(reader.is_open());
    auto app = launch();
    ASSERT_TRUE(app->tabBarController()->simulateTapOnTab(1));
    EXPECT_EQ(setting("LAST_SELECTED_VIEW"), 2.0);
    const std::string seen{std::istreambuf_iterator<char>(reader), std::istreambuf_iterator<char>()};
    EXPECT_EQ(seen, before);
}

// A write that cannot take the writers' lock, or cannot read the settings it would change (a FIFO
// planted at either path), says so and leaves the settings as they were.
TEST_F(AppControllerTest, AWriteThatCannotLockOrReadTheSettingsFailsAndChangesNothing) {
    writeSettings({{"LASTTIME", NSNumber::withDouble(5)}});
    const std::string lock = plist::FileLock::lockPathFor(clk::ClockPreferences::path());
    ASSERT_EQ(::mkfifo(lock.c_str(), 0644), 0);
    EXPECT_FALSE(clk::ClockPreferences::update({{"LASTTIME", NSNumber::withDouble(7)}}));
    EXPECT_EQ(setting("LASTTIME"), 5.0);

    ASSERT_TRUE(std::filesystem::remove(lock));
    ASSERT_TRUE(std::filesystem::remove(clk::ClockPreferences::path()));
    ASSERT_EQ(::mkfifo(clk::ClockPreferences::path().c_str(), 0644), 0);
    EXPECT_FALSE(clk::ClockPreferences::update({{"LASTTIME", NSNumber::withDouble(7)}}));
    EXPECT_TRUE(std::filesystem::is_fifo(clk::ClockPreferences::path()));
}

TEST_F(AppControllerTest, ADamagedSettingsFileIsKeptAsideBeforeTheHostWritesANewOne) {
    const std::string path = clk::ClockPreferences::path();
    testing_support::writeWholeFile(path, "<plist><dict><key>LASTTIME</key>");
    auto app = launch();
    ASSERT_TRUE(app->tabBarController()->simulateTapOnTab(1));
    EXPECT_EQ(setting("LAST_SELECTED_VIEW"), 2.0);
    bool kept = false;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
        if (entry.path().filename().string().rfind("com.apple.mobiletimer.plist.unreadable-", 0) == 0) {
            kept = testing_support::readWholeFile(entry.path()) == "<plist><dict><key>LASTTIME</key>";
        }
    }
    EXPECT_TRUE(kept);
}

TEST_F(AppControllerTest, AFifoAtTheSettingsPathNeitherBlocksNorIsReplaced) {
    const std::string path = clk::ClockPreferences::path();
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EXPECT_EXIT(
        {
            ::alarm(2);
            auto app = launch();
            const bool tapped = app->tabBarController()->simulateTapOnTab(1);
            std::_Exit(tapped && !setting("LAST_SELECTED_VIEW") ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(std::filesystem::is_fifo(path));
}

} // namespace
