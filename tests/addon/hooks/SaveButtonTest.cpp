#include "addon/hooks/HookInstaller.h"
#include "addon/hooks/HostMessages.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIView.h"
#include "tests/addon/hooks/HookTestFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

namespace {

class SaveButtonTest : public testing_support::HookTest {
  protected:
    void SetUp() override {
        registerHosts();
        lv::installHooks();
    }
    std::shared_ptr<fake::StopWatchViewController> loadScreen(bool running = false) {
        auto screen = fake::StopWatchViewController::make();
        screen->setRunning(running);
        screen->view();
        return screen;
    }
    static std::shared_ptr<UIButton> button() { return lv::addonState().button.lock(); }
    static void expectLook(bool enabled) {
        ASSERT_TRUE(button());
        EXPECT_EQ(button()->isEnabled(), enabled);
        EXPECT_FLOAT_EQ(static_cast<float>(button()->titleLabel()->alpha()), enabled ? 1.0F : 0.2F);
    }
};

TEST_F(SaveButtonTest, IsBuiltOnTheScreensViewWithItsTitleTargetAndImages) {
    writeClockSettings(10.0);
    auto screen = loadScreen();
    auto saveButton = button();
    ASSERT_TRUE(saveButton);
    EXPECT_EQ(saveButton->superview(), screen->view());
    EXPECT_EQ(saveButton->frame(), (CGRect{{23, 10}, {125, 44}}));
    EXPECT_EQ(saveButton->titleForState(0), "Save");
    EXPECT_EQ(saveButton->buttonType(), UIButtonType(0));
    auto background = saveButton->backgroundImageForState(0);
    ASSERT_TRUE(background);
    EXPECT_EQ(background->leftCapWidth(), 10);
    EXPECT_EQ(background->topCapHeight(), 0);
    EXPECT_NE(background->path().find("button_silver@2x~iphone.png"), std::string::npos);
    auto pressed = saveButton->backgroundImageForState(1);
    ASSERT_TRUE(pressed);
    EXPECT_NE(pressed->path().find("button_silver_pressed@2x~iphone.png"), std::string::npos);
    EXPECT_EQ(pressed->leftCapWidth(), 10);
    auto title = saveButton->titleLabel();
    EXPECT_TRUE(title->font()->isEqual(*UIFont::boldSystemFontOfSize(24)));
    EXPECT_TRUE(title->shadowColor()->isEqual(*UIColor::grayColor()));
    EXPECT_EQ(title->shadowOffset(), (CGSize{0, -1}));
    // The host's own view loading runs with the button already in its view.
    EXPECT_EQ(fake::subviewsWhenHostLoaded(), 1U);
}

struct LookCase {
    const char* label;
    double lastTime;
    bool running;
    std::vector<std::function<void(const id&)>> events;
    std::vector<bool> looks; // the look first, then after each event
    // Whether the button was enabled when the host's own start, stop or clear ran: the
    // replacements give the button its look before they call the host.
    std::vector<std::optional<bool>> seenByHost;
};

void PrintTo(const LookCase& c, std::ostream* out) {
    *out << c.label;
}

const auto start = [](const id& s) { rt::send(s, lv::host::startTimer); };
const auto stop = [](const id& s) { rt::send(s, lv::host::stopTimer); };
const auto clear = [](const id& s) { rt::send(s, lv::host::clearAllLaps); };
const auto save = [](const id& s) { rt::send(s, lv::host::saveButtonClicked); };

class SaveButtonLookTest : public SaveButtonTest, public ::testing::WithParamInterface<LookCase> {};

TEST_P(SaveButtonLookTest, FollowsTheStopwatch) {
    const auto& c = GetParam();
    writeClockSettings(c.lastTime);
    auto screen = loadScreen(c.running);
    expectLook(c.looks[0]);
    for (std::size_t i = 0; i < c.events.size(); ++i) {
        c.events[i](screen);
        expectLook(c.looks[i + 1]);
    }
    EXPECT_EQ(fake::saveEnabledWhenHostRan(), c.seenByHost);
}

INSTANTIATE_TEST_SUITE_P(
    SaveButton, SaveButtonLookTest,
    ::testing::Values(LookCase{"NoResult", 0, false, {}, {false}, {}},
                      LookCase{"NegativeResult", -3, false, {}, {false}, {}},
                      LookCase{"ResultWhileRunning", 5, true, {}, {false}, {}},
                      LookCase{"StoppedResult", 5, false, {}, {true}, {}},
                      LookCase{"StoppedResultOfATenth", 0.1, false, {}, {true}, {}},
                      LookCase{"StoppedResultThenStart", 5, false, {start}, {true, false}, {false}},
                      LookCase{"StartThenStop", 0, false, {start, stop}, {false, false, true}, {false, true}},
                      LookCase{"StopThenSave", 0, false, {stop, save}, {false, true, false}, {true}},
                      LookCase{"StopThenClear", 5, false, {stop, clear}, {true, true, false}, {true, false}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(SaveButtonTest, ATapStoresTheResultOnceAndATapOnTheDisabledButtonDoesNothing) {
    writeClockSettings(5);
    auto screen = loadScreen();
    ASSERT_TRUE(button());
    EXPECT_TRUE(button()->simulateTap());
    auto records = readPreferences(lv::kSavedTimesFileName)->objectAs<NSArray>("Times - Default");
    ASSERT_TRUE(records);
    EXPECT_EQ(records->count(), 1U);
    expectLook(false);
    button()->simulateTap();
    EXPECT_EQ(readPreferences(lv::kSavedTimesFileName)->objectAs<NSArray>("Times - Default")->count(), 1U);
}

TEST_F(SaveButtonTest, AFailedWriteLeavesTheButtonEnabledSoTheUserCanSaveAgain) {
    writeClockSettings(5);
    auto screen = loadScreen();
    ASSERT_TRUE(button());
    std::filesystem::remove_all(home.path() + "/Library");
    button()->simulateTap();
    expectLook(true);
}

TEST_F(SaveButtonTest, OnlyALiftedTouchSavesNotTheTouchGoingDown) {
    writeClockSettings(5);
    auto screen = loadScreen();
    ASSERT_TRUE(button());
    const auto stored = [this] {
        auto file = readPreferences(lv::kSavedTimesFileName);
        auto records = file ? file->objectAs<NSArray>("Times - Default") : nullptr;
        return records ? records->count() : NSUInteger(0);
    };
    // The finger goes down and is dragged off: nothing is stored, the button stays enabled.
    button()->sendActionsForControlEvents(UIControlEventTouchDown | UIControlEventTouchDragExit |
                                          UIControlEventTouchUpOutside | UIControlEventTouchCancel);
    EXPECT_EQ(stored(), 0U);
    expectLook(true);
    button()->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(stored(), 1U);
    expectLook(false);
}

TEST_F(SaveButtonTest, TheSlotHoldsTheButtonOfTheScreenLoadedLast) {
    writeClockSettings(5);
    auto first = loadScreen();
    auto firstButton = button();
    auto second = loadScreen(true);
    ASSERT_TRUE(button());
    EXPECT_NE(button(), firstButton);
    EXPECT_EQ(button()->superview(), second->view());
    // The stopwatch's events now reach the second screen's button; the first keeps its look.
    rt::send(second, lv::host::stopTimer);
    expectLook(true);
    rt::send(second, lv::host::startTimer);
    expectLook(false);
    EXPECT_TRUE(firstButton->isEnabled());
}

TEST_F(SaveButtonTest, TheSlotDoesNotKeepTheButtonAliveAndEventsWithoutItStillRunTheHost) {
    writeClockSettings(5);
    {
        auto screen = loadScreen();
        ASSERT_TRUE(button());
    }
    EXPECT_FALSE(button());
    auto other = fake::StopWatchViewController::make();
    fake::journal().clear();
    rt::send(other, lv::host::stopTimer);
    rt::send(other, lv::host::startTimer);
    EXPECT_EQ(fake::journal(), (std::vector<std::string>{"host _stopTimer", "host _startTimer"}));
}

} // namespace
