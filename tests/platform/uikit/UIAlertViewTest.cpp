#include "platform/uikit/UIAlertView.h"

#include "platform/runtime/NSException.h"
#include "platform/uikit/AdoptsUIAlertViewDelegate.h"
#include "platform/uikit/AlertPresenter.h"
#include "platform/uikit/UITextField.h"
#include "tests/support/DeviceFixture.h"

#include <functional>

namespace {

using testing_support::DeviceTest;

class AlertDelegate final : public AdoptsUIAlertViewDelegate<AlertDelegate> {
  public:
    std::vector<std::string> log;
    std::function<void(const std::shared_ptr<UIAlertView>&, NSInteger)> onClick;
    void alertViewClickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alert, NSInteger index) override {
        log.push_back("clicked:" + alert->buttonTitleAtIndex(index));
        if (onClick) {
            onClick(alert, index);
        }
    }
    void willPresentAlertView(const std::shared_ptr<UIAlertView>& alert) override {
        log.push_back("willPresent:" + alert->title().value_or(""));
    }
    void didPresentAlertView(const std::shared_ptr<UIAlertView>& alert) override {
        log.push_back("didPresent:" + alert->title().value_or(""));
    }
    void alertViewWillDismissWithButtonIndex(const std::shared_ptr<UIAlertView>&, NSInteger index) override {
        log.push_back("willDismiss:" + std::to_string(index));
    }
    void alertViewDidDismissWithButtonIndex(const std::shared_ptr<UIAlertView>& alert,
                                            NSInteger index) override {
        log.push_back("didDismiss:" + std::to_string(index) + (alert->isVisible() ? " visible" : ""));
    }
};

class UIAlertViewTest : public DeviceTest {
  protected:
    std::shared_ptr<AlertDelegate> delegate = std::make_shared<AlertDelegate>();
    ui::AlertPresenter& overlay() { return device.environment.alerts(); }
    std::shared_ptr<UIAlertView> dialog() {
        auto alert = UIAlertView::withTitle(std::string("New Section"), std::nullopt, delegate,
                                            std::string("Dismiss"), {"Add"});
        alert->setAlertViewStyle(UIAlertViewStylePlainTextInput);
        return alert;
    }
};

TEST_F(UIAlertViewTest, ButtonIndexesPutTheCancelButtonFirst) {
    auto alert = dialog();
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "Add");
    EXPECT_EQ(alert->addButtonWithTitle("More"), 2);
    EXPECT_THROW((void)alert->buttonTitleAtIndex(3), NSException);
    auto noCancel = UIAlertView::withTitle(std::string("t"), std::nullopt, nullptr, std::nullopt, {"A", "B"});
    EXPECT_EQ(noCancel->cancelButtonIndex(), -1);
    EXPECT_EQ(noCancel->firstOtherButtonIndex(), 0);
}

TEST_F(UIAlertViewTest, TextFieldsExistOnlyForTheStyle) {
    auto plain = UIAlertView::withTitle(std::string("t"), std::nullopt, nullptr, std::string("OK"));
    try {
        (void)plain->textFieldAtIndex(0);
        FAIL() << "expected NSRangeException";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), NSRangeException);
        EXPECT_EQ(e.reason(), "textFieldIndex (0) is outside of the bounds of the array of text fields");
    }
    auto alert = dialog();
    EXPECT_EQ(alert->textFieldAtIndex(0)->text(), "") << "an empty field reads as an empty string";
    EXPECT_THROW((void)alert->textFieldAtIndex(1), NSException);
}

// Each style has its own fields, whatever style came before: none, one secure, one plain, or a
// plain login and a secure password.
TEST_F(UIAlertViewTest, EachStyleHasItsOwnFields) {
    const std::vector<std::pair<UIAlertViewStyle, std::vector<bool>>> styles = {
        {UIAlertViewStyleDefault, {}},
        {UIAlertViewStyleSecureTextInput, {true}},
        {UIAlertViewStylePlainTextInput, {false}},
        {UIAlertViewStyleLoginAndPasswordInput, {false, true}},
    };
    auto alert = dialog();
    for (const auto& [before, unused] : styles) {
        for (const auto& [style, secure] : styles) {
            alert->setAlertViewStyle(before);
            alert->setAlertViewStyle(style);
            SCOPED_TRACE(std::to_string(before) + " then " + std::to_string(style));
            for (std::size_t i = 0; i < secure.size(); ++i) {
                EXPECT_EQ(alert->textFieldAtIndex(static_cast<NSInteger>(i))->isSecureTextEntry(), secure[i]);
            }
            EXPECT_THROW((void)alert->textFieldAtIndex(static_cast<NSInteger>(secure.size())), NSException);
        }
    }
}

// Dismissed in code, a shown alert tells its delegate once, at once or after the animation; an
// alert not shown, or already going, ignores the call. A tap on a title it does not have does
// nothing.
TEST_F(UIAlertViewTest, DismissedInCodeOnlyWhenShownAndOnlyOnce) {
    auto alert = dialog();
    alert->dismissWithClickedButtonIndexAnimated(0, false);
    EXPECT_TRUE(delegate->log.empty()) << "never shown";
    alert->show();
    runFor(1);
    delegate->log.clear();
    EXPECT_FALSE(alert->simulateTapButtonWithTitle("Remove"));
    EXPECT_TRUE(delegate->log.empty());
    EXPECT_TRUE(alert->isVisible());
    alert->dismissWithClickedButtonIndexAnimated(1, true);
    alert->dismissWithClickedButtonIndexAnimated(0, true);
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"willDismiss:1"}));
    runFor(ui::AlertPresenter::kDismissDuration);
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"willDismiss:1", "didDismiss:1"}));
    EXPECT_FALSE(alert->isVisible());

    auto second = dialog();
    second->show();
    runFor(1);
    delegate->log.clear();
    second->dismissWithClickedButtonIndexAnimated(0, false);
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"willDismiss:0", "didDismiss:0"}));
    EXPECT_TRUE(overlay().stack().empty());
}

TEST_F(UIAlertViewTest, ATapClicksThenDismissesThroughTheRunLoop) {
    auto alert = dialog();
    alert->textFieldAtIndex(0)->simulateTyping("Work");
    alert->show();
    runFor(1);
    EXPECT_TRUE(alert->simulateTapButtonAtIndex(1));
    EXPECT_EQ(delegate->log, (std::vector<std::string>{"willPresent:New Section", "didPresent:New Section",
                                                       "clicked:Add", "willDismiss:1"}));
    EXPECT_TRUE(alert->isVisible());
    runFor(ui::AlertPresenter::kDismissDuration);
    EXPECT_EQ(delegate->log.back(), "didDismiss:1");
    EXPECT_TRUE(overlay().stack().empty());
}

TEST_F(UIAlertViewTest, TheLastAlertShownStandsInFrontAndTheFirstComesBack) {
    std::weak_ptr<UIAlertView> firstWeak;
    {
        auto first = dialog();
        firstWeak = first;
        first->show();
    }
    ASSERT_FALSE(firstWeak.expired()) << "the overlay keeps a shown alert alive";
    auto second = UIAlertView::withTitle(std::string("No Name"), std::string("Please type in name."), nullptr,
                                         std::string("Dismiss"));
    second->show();
    EXPECT_EQ(overlay().front(), second);
    EXPECT_FALSE(firstWeak.lock()->simulateTapButtonAtIndex(0)) << "only the front alert takes taps";
    EXPECT_TRUE(firstWeak.lock()->isVisible());
    second->simulateTapButtonAtIndex(0);
    runFor(1);
    EXPECT_EQ(overlay().front(), firstWeak.lock());
}

TEST_F(UIAlertViewTest, AlertsShownWhileOneDismissesWaitForItAndTheLastStandsInFront) {
    auto first = dialog();
    first->show();
    std::shared_ptr<UIAlertView> fresh;
    std::shared_ptr<UIAlertView> refusal;
    delegate->onClick = [&](const std::shared_ptr<UIAlertView>&, NSInteger) {
        fresh = dialog();
        refusal = UIAlertView::withTitle(std::string("Error"), std::string("taken"), nullptr,
                                         std::string("Dismiss"));
        fresh->show();
        refusal->show();
    };
    first->simulateTapButtonAtIndex(1);
    EXPECT_EQ(overlay().waiting().size(), 2u);
    EXPECT_FALSE(fresh->isVisible());
    runFor(1);
    EXPECT_EQ(overlay().stack(), (std::vector<std::shared_ptr<UIAlertView>>{fresh, refusal}));
    refusal->simulateTapButtonAtIndex(0);
    runFor(1);
    EXPECT_EQ(overlay().front(), fresh);
}

TEST_F(UIAlertViewTest, WhenTheProcessEndsAlertsOnScreenAndWaitingGoWithoutTellingTheDelegate) {
    auto first = dialog();
    first->show();
    delegate->onClick = [&](const std::shared_ptr<UIAlertView>&, NSInteger) { dialog()->show(); };
    first->simulateTapButtonAtIndex(1);
    ASSERT_EQ(overlay().waiting().size(), 1u);
    const auto messagesBefore = delegate->log.size();
    overlay().removeAll();
    EXPECT_TRUE(overlay().stack().empty());
    EXPECT_TRUE(overlay().waiting().empty());
    EXPECT_EQ(delegate->log.size(), messagesBefore);

    // The next alert shown appears at once: no cut-short dismissal holds it back.
    auto next = dialog();
    next->show();
    EXPECT_EQ(overlay().front(), next);
}

TEST_F(UIAlertViewTest, TheDelegateIsNotRetainedAndAFreedOneCrashes) {
    auto alert = dialog();
    alert->show();
    delegate.reset();
    try {
        alert->simulateTapButtonAtIndex(0);
        FAIL() << "expected a crash";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), EXC_BAD_ACCESS);
    }
}

} // namespace
