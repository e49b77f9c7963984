#include "platform/uikit/UITextField.h"

#include "platform/uikit/UITextFieldDelegate.h"

namespace {
// UIControlEventEditingChanged.
constexpr NSUInteger kEditingChanged = 1 << 17;
} // namespace

bool UITextField::simulateTyping(const std::string& text) {
    auto me = self<UITextField>();
    auto delegate = delegate_.lock();
    if (delegate && delegate->implements(UITextFieldDelegate::Method::ShouldBeginEditing) &&
        !delegate->textFieldShouldBeginEditing(me)) {
        return false;
    }
    if (delegate && delegate->implements(UITextFieldDelegate::Method::DidBeginEditing)) {
        delegate->textFieldDidBeginEditing(me);
    }
    text_ = text;
    sendActionsForControlEvents(kEditingChanged);
    return true;
}
