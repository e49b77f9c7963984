#pragma once
// The text field delegate protocol. Every method is optional; `implements` says which ones the
// delegate has (derived by AdoptsUITextFieldDelegate from the methods the adopter overrides). A
// delegate with none of them leaves the field's default behaviour.

#include <memory>

class UITextField;

/// `UITextFieldDelegate`.
class UITextFieldDelegate {
  public:
    enum class Method { ShouldBeginEditing, DidBeginEditing, DidEndEditing, ShouldReturn };

    virtual ~UITextFieldDelegate() = default;
    /// True for the optional methods this delegate implements, as `respondsToSelector:` would
    /// answer. Derived by `AdoptsUITextFieldDelegate` from the methods the adopter overrides.
    [[nodiscard]] bool implements(Method method) const { return implementsOptional(method, Adoption{}); }

    /// `textFieldShouldBeginEditing:`: NO keeps the field from editing.
    virtual bool textFieldShouldBeginEditing(const std::shared_ptr<UITextField>&) { return true; }
    /// `textFieldDidBeginEditing:`.
    virtual void textFieldDidBeginEditing(const std::shared_ptr<UITextField>&) {}
    /// `textFieldDidEndEditing:`.
    virtual void textFieldDidEndEditing(const std::shared_ptr<UITextField>&) {}
    /// `textFieldShouldReturn:`.
    virtual bool textFieldShouldReturn(const std::shared_ptr<UITextField>&) { return true; }

  private:
    template <class Adopter>
    friend class AdoptsUITextFieldDelegate;
    // Only the adoption template can name this type, so only it can answer `implements`.
    struct Adoption {};
    [[nodiscard]] virtual bool implementsOptional(Method method, Adoption) const = 0;
};
