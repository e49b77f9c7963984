#pragma once
// The text field delegate protocol. Every method is optional; `implements` says which ones the
// delegate has. A delegate with none of them leaves the field's default behaviour.

#include <memory>

class UITextField;

/// `UITextFieldDelegate`.
class UITextFieldDelegate {
  public:
    enum class Method { ShouldBeginEditing, DidBeginEditing, DidEndEditing, ShouldReturn };

    virtual ~UITextFieldDelegate() = default;
    /// True for the optional methods this delegate implements.
    [[nodiscard]] virtual bool implements(Method method) const = 0;

    virtual bool textFieldShouldBeginEditing(const std::shared_ptr<UITextField>&) { return true; }
    virtual void textFieldDidBeginEditing(const std::shared_ptr<UITextField>&) {}
    virtual void textFieldDidEndEditing(const std::shared_ptr<UITextField>&) {}
    virtual bool textFieldShouldReturn(const std::shared_ptr<UITextField>&) { return true; }
};
