#include "platform/uikit/UIButton.h"

#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

template <class V>
V UIButton::lookup(const std::map<NSUInteger, V>& values, NSUInteger state) {
    auto found = values.find(state);
    if (found != values.end() && found->second) {
        return found->second;
    }
    auto normal = values.find(UIControlStateNormal);
    return normal != values.end() ? normal->second : V{};
}

std::shared_ptr<UIButton> UIButton::buttonWithType(UIButtonType type) {
    auto button = rt::make<UIButton>();
    button->type_ = type;
    button->initWithFrame(CGRectZero);
    // A custom button draws a white title; the rounded-rect kind a blue one.
    button->titleColors_[UIControlStateNormal] =
        type == UIButtonTypeCustom ? UIColor::whiteColor()
                                   : UIColor::colorWithRedGreenBlueAlpha(0.2f, 0.3f, 0.5f, 1);
    return button;
}

void UIButton::setTitleForState(std::optional<std::string> title, NSUInteger state) {
    titles_[state] = std::move(title);
    setNeedsLayout();
}

std::optional<std::string> UIButton::titleForState(NSUInteger state) const {
    return lookup(titles_, state);
}

void UIButton::setTitleColorForState(std::shared_ptr<UIColor> color, NSUInteger state) {
    titleColors_[state] = std::move(color);
    setNeedsLayout();
}

std::shared_ptr<UIColor> UIButton::titleColorForState(NSUInteger state) const {
    return lookup(titleColors_, state);
}

void UIButton::setTitleShadowColorForState(std::shared_ptr<UIColor> color, NSUInteger state) {
    titleShadowColors_[state] = std::move(color);
    setNeedsLayout();
}

std::shared_ptr<UIColor> UIButton::titleShadowColorForState(NSUInteger state) const {
    return lookup(titleShadowColors_, state);
}

void UIButton::setImageForState(std::shared_ptr<UIImage> image, NSUInteger state) {
    images_[state] = std::move(image);
    setNeedsLayout();
}

std::shared_ptr<UIImage> UIButton::imageForState(NSUInteger state) const {
    return lookup(images_, state);
}

void UIButton::setBackgroundImageForState(std::shared_ptr<UIImage> image, NSUInteger state) {
    backgroundImages_[state] = std::move(image);
    setNeedsLayout();
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(NSUInteger state) const {
    return lookup(backgroundImages_, state);
}

std::shared_ptr<UILabel> UIButton::titleLabel() {
    if (!titleLabel_) {
        titleLabel_ = rt::make<UILabel>();
        titleLabel_->initWithFrame(CGRectZero);
        titleLabel_->setBackgroundColor(UIColor::clearColor());
        titleLabel_->setFont(UIFont::boldSystemFontOfSize(15));
        titleLabel_->setTextAlignment(NSTextAlignmentCenter);
        addSubview(titleLabel_);
    }
    return titleLabel_;
}

std::shared_ptr<UIImageView> UIButton::imageView() {
    if (!imageView_) {
        imageView_ = rt::make<UIImageView>();
        imageView_->initWithFrame(CGRectZero);
        insertSubviewAtIndex(imageView_, 0);
    }
    return imageView_;
}

void UIButton::layoutSubviews() {
    // The label fills the button and shows the current state's title and colours.
    auto label = titleLabel();
    CGRect area = bounds();
    label->setFrame({{0, 0}, area.size});
    label->setText(currentTitle());
    label->setTextColor(currentTitleColor());
    if (auto shadow = titleShadowColorForState(state())) {
        label->setShadowColor(shadow);
    }
    if (auto image = currentImage()) {
        auto view = imageView();
        view->setImage(image);
        CGSize size = image->size();
        view->setFrame({{(area.size.width - size.width) / 2, (area.size.height - size.height) / 2}, size});
    } else if (imageView_) {
        imageView_->setImage(nullptr);
    }
}
