#pragma once
// Alerts: a title, a message, buttons with fixed indexes (the cancel button first when there is
// one) and, by style, text fields. Shown alerts stack in the device's alert overlay, which keeps
// them alive while on screen. The delegate is not retained and not cleared when it goes away:
// messaging a freed delegate crashes on the phone and raises EXC_BAD_ACCESS here.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIAlertViewDelegate;
class UITextField;

/// `UIAlertViewStyle`.
enum UIAlertViewStyle : NSInteger {
    UIAlertViewStyleDefault = 0,
    UIAlertViewStyleSecureTextInput = 1,
    UIAlertViewStylePlainTextInput = 2,
    UIAlertViewStyleLoginAndPasswordInput = 3,
};

/// `UIAlertView`.
class UIAlertView : public UIView {
  public:
    static constexpr const char* kClassName = "UIAlertView";
    using Super = UIView;

    /// `initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:`.
    void initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
        std::optional<std::string> title, std::optional<std::string> message,
        const std::shared_ptr<UIAlertViewDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
        std::vector<std::string> otherButtonTitles);
    /// A new alert made with the initialiser above.
    static std::shared_ptr<UIAlertView> withTitle(std::optional<std::string> title,
                                                  std::optional<std::string> message,
                                                  const std::shared_ptr<UIAlertViewDelegate>& delegate,
                                                  std::optional<std::string> cancelButtonTitle,
                                                  std::vector<std::string> otherButtonTitles = {});

    [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    [[nodiscard]] const std::optional<std::string>& message() const { return message_; }
    void setMessage(std::optional<std::string> message) { message_ = std::move(message); }
    /// The delegate if it is still alive (nil when none was set or it is gone).
    [[nodiscard]] std::shared_ptr<UIAlertViewDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UIAlertViewDelegate>& delegate);

    [[nodiscard]] UIAlertViewStyle alertViewStyle() const { return style_; }
    /// Makes the style's text fields (none, one, or two) at once.
    void setAlertViewStyle(UIAlertViewStyle style);
    /// `textFieldAtIndex:`; an index the style has no field for raises NSRangeException.
    [[nodiscard]] std::shared_ptr<UITextField> textFieldAtIndex(NSInteger index) const;

    /// `addButtonWithTitle:`: appends and returns the new index.
    NSInteger addButtonWithTitle(const std::string& title);
    /// `buttonTitleAtIndex:`; out of range raises NSRangeException.
    [[nodiscard]] std::string buttonTitleAtIndex(NSInteger index) const;
    [[nodiscard]] NSInteger numberOfButtons() const { return static_cast<NSInteger>(buttons_.size()); }
    /// -1 when there is no cancel button.
    [[nodiscard]] NSInteger cancelButtonIndex() const { return cancelIndex_; }
    void setCancelButtonIndex(NSInteger index) { cancelIndex_ = index; }
    /// The first index that is not the cancel button, -1 when there is none.
    [[nodiscard]] NSInteger firstOtherButtonIndex() const;

    /// True while on screen, also while hidden behind a newer alert.
    [[nodiscard]] bool isVisible() const { return visible_; }
    /// True between the start and the end of its dismissal.
    [[nodiscard]] bool isDismissing() const { return dismissing_; }
    /// True from the end of its appear animation (didPresent) until it leaves the screen.
    [[nodiscard]] bool isPresented() const { return presented_; }

    /// `show`: willPresent, then on screen in front (or queued behind a dismissal in progress),
    /// then didPresent after the appear animation.
    void show();
    /// `dismissWithClickedButtonIndex:animated:`: willDismiss, then (after the animation when
    /// animated) off screen and didDismiss. No clickedButtonAtIndex.
    void dismissWithClickedButtonIndexAnimated(NSInteger index, bool animated);

    /// The user taps a button of the front alert: clickedButtonAtIndex:, then the alert
    /// dismisses itself (animated). Returns false when this alert cannot be tapped now (not in
    /// front, already dismissing) or the index has no button.
    bool simulateTapButtonAtIndex(NSInteger index);
    /// The same, for the first button with that title.
    bool simulateTapButtonWithTitle(const std::string& title);

    // Called by the alert overlay only.
    /// Puts the alert on screen and sends willPresent (now) and didPresent (after the animation).
    void presentNow();
    /// Finishes a dismissal: off screen, then didDismiss.
    void finishDismissal(NSInteger index);

  private:
    /// willDismiss, then the end of the dismissal (after the animation when animated).
    void continueDismissal(NSInteger index, bool animated);
    /// The delegate for a message: nil when none was set; a freed one raises EXC_BAD_ACCESS.
    [[nodiscard]] std::shared_ptr<UIAlertViewDelegate> delegateForMessage(const char* selector) const;

    std::optional<std::string> title_;
    bool presented_ = false;
    std::optional<std::string> message_;
    std::weak_ptr<UIAlertViewDelegate> delegate_;
    bool hadDelegate_ = false;
    UIAlertViewStyle style_ = UIAlertViewStyleDefault;
    std::vector<std::shared_ptr<UITextField>> fields_;
    std::vector<std::string> buttons_;
    NSInteger cancelIndex_ = -1;
    bool visible_ = false;
    bool dismissing_ = false;
};
