#include "platform/uikit/UIAlertView.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/AlertPresenter.h"
#include "platform/uikit/Environment.h"
#include "platform/uikit/UIAlertViewDelegate.h"
#include "platform/uikit/UITextField.h"

void UIAlertView::initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
    std::optional<std::string> title, std::optional<std::string> message,
    const std::shared_ptr<UIAlertViewDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
    std::vector<std::string> otherButtonTitles) {
    initWithFrame(CGRectZero);
    title_ = std::move(title);
    message_ = std::move(message);
    setDelegate(delegate);
    if (cancelButtonTitle) {
        cancelIndex_ = addButtonWithTitle(*cancelButtonTitle);
    }
    for (auto& other : otherButtonTitles) {
        addButtonWithTitle(other);
    }
}

std::shared_ptr<UIAlertView> UIAlertView::withTitle(std::optional<std::string> title,
                                                    std::optional<std::string> message,
                                                    const std::shared_ptr<UIAlertViewDelegate>& delegate,
                                                    std::optional<std::string> cancelButtonTitle,
                                                    std::vector<std::string> otherButtonTitles) {
    auto alert = rt::make<UIAlertView>();
    alert->initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
        std::move(title), std::move(message), delegate, std::move(cancelButtonTitle),
        std::move(otherButtonTitles));
    return alert;
}

void UIAlertView::setDelegate(const std::shared_ptr<UIAlertViewDelegate>& delegate) {
    delegate_ = delegate;
    hadDelegate_ = static_cast<bool>(delegate);
}

std::shared_ptr<UIAlertViewDelegate> UIAlertView::delegateForMessage(const char* selector) const {
    auto delegate = delegate_.lock();
    if (!delegate && hadDelegate_) {
        throw NSException(EXC_BAD_ACCESS, std::string("-[UIAlertView ") + selector +
                                              "]: message sent to a deallocated delegate");
    }
    return delegate;
}

void UIAlertView::setAlertViewStyle(UIAlertViewStyle style) {
    style_ = style;
    std::size_t count = style == UIAlertViewStyleDefault                 ? 0
                        : style == UIAlertViewStyleLoginAndPasswordInput ? 2
                                                                         : 1;
    fields_.clear();
    for (std::size_t i = 0; i < count; ++i) {
        auto field = rt::make<UITextField>();
        field->initWithFrame(CGRectMake(0, 0, 260, 29));
        field->setSecureTextEntry(style == UIAlertViewStyleSecureTextInput ||
                                  (style == UIAlertViewStyleLoginAndPasswordInput && i == 1));
        fields_.push_back(field);
    }
}

std::shared_ptr<UITextField> UIAlertView::textFieldAtIndex(NSInteger index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= fields_.size()) {
        throw NSException(NSRangeException, "textFieldIndex (" + std::to_string(index) +
                                                ") is outside of the bounds of the array of text fields");
    }
    return fields_[static_cast<std::size_t>(index)];
}

NSInteger UIAlertView::addButtonWithTitle(const std::string& title) {
    buttons_.push_back(title);
    return static_cast<NSInteger>(buttons_.size()) - 1;
}

std::string UIAlertView::buttonTitleAtIndex(NSInteger index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= buttons_.size()) {
        throw NSException(NSRangeException, "*** -[__NSArrayM objectAtIndex:]: index " +
                                                std::to_string(index) + " beyond bounds [0 .. " +
                                                std::to_string(static_cast<long>(buttons_.size()) - 1) + "]");
    }
    return buttons_[static_cast<std::size_t>(index)];
}

NSInteger UIAlertView::firstOtherButtonIndex() const {
    for (NSInteger i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelIndex_) {
            return i;
        }
    }
    return -1;
}

void UIAlertView::show() {
    if (visible_) {
        return;
    }
    ui::Environment::current().alerts().show(self<UIAlertView>());
}

void UIAlertView::presentNow() {
    auto me = self<UIAlertView>();
    if (auto delegate = delegateForMessage("willPresentAlertView:");
        delegate && delegate->implements(UIAlertViewDelegate::Method::WillPresentAlertView)) {
        delegate->willPresentAlertView(me);
    }
    visible_ = true;
    NSRunLoop::currentRunLoop().scheduleStep(
        ui::AlertPresenter::kPresentDuration, "didPresentAlertView:", me, [me] {
            me->presented_ = me->visible_;
            if (auto delegate = me->delegateForMessage("didPresentAlertView:");
                delegate && delegate->implements(UIAlertViewDelegate::Method::DidPresentAlertView)) {
                delegate->didPresentAlertView(me);
            }
        });
}

void UIAlertView::dismissWithClickedButtonIndexAnimated(NSInteger index, bool animated) {
    if (!visible_ || dismissing_) {
        return;
    }
    dismissing_ = true;
    ui::Environment::current().alerts().beginDismissal(self<UIAlertView>());
    continueDismissal(index, animated);
}

void UIAlertView::continueDismissal(NSInteger index, bool animated) {
    auto me = self<UIAlertView>();
    if (auto delegate = delegateForMessage("alertView:willDismissWithButtonIndex:");
        delegate && delegate->implements(UIAlertViewDelegate::Method::WillDismissWithButtonIndex)) {
        delegate->alertViewWillDismissWithButtonIndex(me, index);
    }
    if (!animated) {
        finishDismissal(index);
        return;
    }
    NSRunLoop::currentRunLoop().scheduleStep(ui::AlertPresenter::kDismissDuration,
                                             "alertView:didDismissWithButtonIndex:", me,
                                             [me, index] { me->finishDismissal(index); });
}

void UIAlertView::finishDismissal(NSInteger index) {
    auto me = self<UIAlertView>();
    visible_ = false;
    dismissing_ = false;
    presented_ = false;
    auto& presenter = ui::Environment::current().alerts();
    presenter.endDismissal(me);
    if (auto delegate = delegateForMessage("alertView:didDismissWithButtonIndex:");
        delegate && delegate->implements(UIAlertViewDelegate::Method::DidDismissWithButtonIndex)) {
        delegate->alertViewDidDismissWithButtonIndex(me, index);
    }
    presenter.presentWaiting();
}

bool UIAlertView::simulateTapButtonAtIndex(NSInteger index) {
    auto me = self<UIAlertView>();
    if (!visible_ || dismissing_ || ui::Environment::current().alerts().front() != me || index < 0 ||
        index >= numberOfButtons()) {
        return false;
    }
    // The alert counts as dismissing from the tap on: alerts shown by the delegate while it
    // handles the tap wait until this one is gone.
    dismissing_ = true;
    ui::Environment::current().alerts().beginDismissal(me);
    if (auto delegate = delegateForMessage("alertView:clickedButtonAtIndex:");
        delegate && delegate->implements(UIAlertViewDelegate::Method::ClickedButtonAtIndex)) {
        delegate->alertViewClickedButtonAtIndex(me, index);
    }
    continueDismissal(index, true);
    return true;
}

bool UIAlertView::simulateTapButtonWithTitle(const std::string& title) {
    for (NSInteger i = 0; i < numberOfButtons(); ++i) {
        if (buttons_[static_cast<std::size_t>(i)] == title) {
            return simulateTapButtonAtIndex(i);
        }
    }
    return false;
}
