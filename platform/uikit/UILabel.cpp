#include "platform/uikit/UILabel.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIKitMessages.h"

void UILabel::describe(rt::ClassBuilder& b) {
    b.method<&UILabel::setHighlighted>(msg::setHighlighted);
    b.method<&UILabel::isHighlighted>(msg::isHighlighted);
}

UILabel::UILabel() : font_(UIFont::systemFontOfSize(17)), textColor_(UIColor::blackColor()) {
    setUserInteractionEnabled(false);
    setBackgroundColor(UIColor::whiteColor());
}

void UILabel::setFont(std::shared_ptr<UIFont> font) {
    font_ = font ? std::move(font) : UIFont::systemFontOfSize(17);
}

void UILabel::setTextColor(std::shared_ptr<UIColor> color) {
    textColor_ = color ? std::move(color) : UIColor::blackColor();
}

std::shared_ptr<UIColor> UILabel::effectiveTextColor() const {
    return highlighted_ && highlightedTextColor_ ? highlightedTextColor_ : textColor_;
}
