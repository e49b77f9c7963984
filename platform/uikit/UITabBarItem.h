#pragma once
// The item a view controller shows in a tab bar: a title, an image and a tag.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/NSObject.h"

#include <memory>
#include <optional>
#include <string>

class UIImage;

/// `UITabBarItem`.
class UITabBarItem : public NSObject {
  public:
    static constexpr const char* kClassName = "UITabBarItem";
    using Super = NSObject;

    /// `initWithTitle:image:tag:`.
    void initWithTitleImageTag(std::optional<std::string> title, std::shared_ptr<UIImage> image,
                               NSInteger tag);
    /// A new item made with `initWithTitle:image:tag:`.
    static std::shared_ptr<UITabBarItem> withTitle(std::optional<std::string> title,
                                                   std::shared_ptr<UIImage> image, NSInteger tag);

    [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    [[nodiscard]] const std::shared_ptr<UIImage>& image() const { return image_; }
    void setImage(std::shared_ptr<UIImage> image) { image_ = std::move(image); }
    [[nodiscard]] NSInteger tag() const { return tag_; }
    void setTag(NSInteger tag) { tag_ = tag; }
    [[nodiscard]] const std::optional<std::string>& badgeValue() const { return badge_; }
    void setBadgeValue(std::optional<std::string> badge) { badge_ = std::move(badge); }

  private:
    std::optional<std::string> title_;
    std::shared_ptr<UIImage> image_;
    NSInteger tag_ = 0;
    std::optional<std::string> badge_;
};
