#include "platform/uikit/UITabBarItem.h"

#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIImage.h"

void UITabBarItem::initWithTitleImageTag(std::optional<std::string> title, std::shared_ptr<UIImage> image,
                                         NSInteger tag) {
    title_ = std::move(title);
    image_ = std::move(image);
    tag_ = tag;
}

std::shared_ptr<UITabBarItem> UITabBarItem::withTitle(std::optional<std::string> title,
                                                      std::shared_ptr<UIImage> image, NSInteger tag) {
    auto item = rt::make<UITabBarItem>();
    item->initWithTitleImageTag(std::move(title), std::move(image), tag);
    return item;
}
