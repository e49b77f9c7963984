#pragma once
// A one-line text field: its text (empty, never nil, by default), placeholder and delegate.

#include "platform/uikit/UIControl.h"

#include <memory>
#include <optional>
#include <string>

class UITextFieldDelegate;

/// `UITextField`.
class UITextField : public UIControl {
  public:
    static constexpr const char* kClassName = "UITextField";
    using Super = UIControl;

    [[nodiscard]] const std::string& text() const { return text_; }
    /// A nil text reads back as empty, as the field's text does on the phone.
    void setText(std::optional<std::string> text) { text_ = text.value_or(""); }
    [[nodiscard]] const std::optional<std::string>& placeholder() const { return placeholder_; }
    void setPlaceholder(std::optional<std::string> placeholder) { placeholder_ = std::move(placeholder); }
    [[nodiscard]] bool isSecureTextEntry() const { return secure_; }
    void setSecureTextEntry(bool secure) { secure_ = secure; }
    /// The delegate is not retained.
    [[nodiscard]] std::shared_ptr<UITextFieldDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<UITextFieldDelegate> delegate) { delegate_ = std::move(delegate); }

    /// The user types `text` into the field, replacing what was there: the field begins
    /// editing (asking the delegate when it implements the question), takes the text and sends
    /// EditingChanged. Returns false when the delegate refused to begin.
    bool simulateTyping(const std::string& text);

  private:
    std::string text_;
    std::optional<std::string> placeholder_;
    bool secure_ = false;
    std::weak_ptr<UITextFieldDelegate> delegate_;
};
