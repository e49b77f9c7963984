// The Clock settings values as the hooks read them: each value converts as the platform's
// doubleValue / intValue convert it, whatever the type the file holds it in, and the hooks act
// on the converted value.

#include "addon/hooks/ClockSettings.h"
#include "addon/hooks/HookInstaller.h"
#include "addon/hooks/HostMessages.h"
#include "platform/uikit/UIButton.h"
#include "tests/addon/hooks/HookTestFixture.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>

namespace {

struct SettingCase {
    const char* label;
    // The value's XML, as the platform's writer or another program leaves it in the file.
    const char* xml;
    double asDouble;
    int asInt;
};

void PrintTo(const SettingCase& c, std::ostream* out) {
    *out << c.label;
}

class ClockSettingsValueTest : public testing_support::HookTest,
                               public ::testing::WithParamInterface<SettingCase> {
  protected:
    void writeBoth(const std::string& xml) const {
        std::ofstream(preferencesFile("com.apple.mobiletimer.plist"))
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
            << "\t<key>LASTTIME</key>\n\t" << xml << "\n\t<key>LAST_SELECTED_VIEW</key>\n\t" << xml
            << "\n</dict>\n</plist>\n";
    }
};

TEST_P(ClockSettingsValueTest, ReadsAsThePlatformConvertsIt) {
    writeBoth(GetParam().xml);
    EXPECT_DOUBLE_EQ(lv::clockLastTime(), GetParam().asDouble);
    EXPECT_EQ(lv::clockLastSelectedView(), GetParam().asInt);
}

INSTANTIATE_TEST_SUITE_P(
    ClockSettings, ClockSettingsValueTest,
    ::testing::Values(SettingCase{"Real", "<real>4.75</real>", 4.75, 4},
                      SettingCase{"NegativeReal", "<real>-2.5</real>", -2.5, -2},
                      SettingCase{"Integer", "<integer>5</integer>", 5, 5},
                      SettingCase{"True", "<true/>", 1, 1}, SettingCase{"False", "<false/>", 0, 0},
                      SettingCase{"DigitString", "<string>5</string>", 5, 5},
                      SettingCase{"PaddedDecimalString", "<string>  12.7 s</string>", 12.7, 12},
                      SettingCase{"ExponentString", "<string>3e2</string>", 300, 3},
                      SettingCase{"SignedString", "<string>-4</string>", -4, -4},
                      SettingCase{"WordString", "<string>five</string>", 0, 0},
                      SettingCase{"EmptyString", "<string></string>", 0, 0},
                      SettingCase{"StringBeyondInt", "<string>99999999999</string>", 99999999999.0, INT_MAX},
                      SettingCase{"Array", "<array><integer>5</integer></array>", 0, 0},
                      SettingCase{"Date", "<date>2026-01-01T00:00:00Z</date>", 0, 0},
                      SettingCase{"Data", "<data>NQ==</data>", 0, 0}),
    testing_support::PrintedName());

TEST_F(ClockSettingsValueTest, MissingFileAndMissingKeysReadAsZero) {
    EXPECT_EQ(lv::clockLastTime(), 0.0);
    EXPECT_EQ(lv::clockLastSelectedView(), 0);
    writePreferences("com.apple.mobiletimer.plist", *NSMutableDictionary::with());
    EXPECT_EQ(lv::clockLastTime(), 0.0);
    EXPECT_EQ(lv::clockLastSelectedView(), 0);
}

// The hooks act on the converted values: a string "5" selects the Saved tab and names its launch
// image; a stored result of <true/> (1 second) enables Save.
TEST_F(ClockSettingsValueTest, TheHooksActOnConvertedValues) {
    registerHosts();
    lv::installHooks();
    std::ofstream(preferencesFile("com.apple.mobiletimer.plist"))
        << "<plist version=\"1.0\"><dict><key>LASTTIME</key><true/>"
           "<key>LAST_SELECTED_VIEW</key><string>5</string></dict></plist>";
    auto app = rt::make<fake::AppController>();
    rt::send(app, lv::host::applicationDidFinishLaunching, id{});
    EXPECT_EQ(app->tabBarController()->selectedIndex(), NSUInteger(4));
    auto application = fake::SBApplication::withBundleIdentifier("com.apple.mobiletimer");
    EXPECT_EQ(rt::send(application, lv::host::currentDefaultPNGName)->str(),
              "Default-clock-saved@2x~lapvane.png");
    auto screen = fake::StopWatchViewController::make();
    screen->view();
    auto button = lv::addonState().button.lock();
    ASSERT_TRUE(button);
    EXPECT_TRUE(button->isEnabled());
}

} // namespace
