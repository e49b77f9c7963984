#include "platform/uikit/UIImageView.h"

#include "platform/runtime/ClassBuilder.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIKitMessages.h"

void UIImageView::describe(rt::ClassBuilder& b) {
    b.method<&UIImageView::setHighlighted>(msg::setHighlighted);
    b.method<&UIImageView::isHighlighted>(msg::isHighlighted);
}

UIImageView::UIImageView() {
    setUserInteractionEnabled(false);
}

void UIImageView::initWithImage(std::shared_ptr<UIImage> image) {
    CGSize size = image ? image->size() : CGSizeZero;
    initWithFrame({{0, 0}, size});
    image_ = std::move(image);
}

std::shared_ptr<UIImageView> UIImageView::withImage(std::shared_ptr<UIImage> image) {
    auto view = rt::make<UIImageView>();
    view->initWithImage(std::move(image));
    return view;
}

std::shared_ptr<UIImage> UIImageView::displayedImage() const {
    return highlighted_ && highlightedImage_ ? highlightedImage_ : image_;
}
