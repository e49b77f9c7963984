#pragma once
// What a navigation bar shows for one level: a title, items on the left and right, the title of
// the back control that leads back to it, and whether it hides the back control.

#include "platform/runtime/NSObject.h"

#include <memory>
#include <optional>
#include <string>

class UIBarButtonItem;

/// `UINavigationItem`.
class UINavigationItem : public NSObject {
  public:
    static constexpr const char* kClassName = "UINavigationItem";
    using Super = NSObject;

    /// `initWithTitle:`.
    void initWithTitle(std::optional<std::string> title) { title_ = std::move(title); }
    /// A new item made with `initWithTitle:`.
    static std::shared_ptr<UINavigationItem> withTitle(std::optional<std::string> title);

    [[nodiscard]] const std::optional<std::string>& title() const { return title_; }
    void setTitle(std::optional<std::string> title) { title_ = std::move(title); }
    [[nodiscard]] const std::shared_ptr<UIBarButtonItem>& leftBarButtonItem() const { return left_; }
    void setLeftBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { left_ = std::move(item); }
    void setLeftBarButtonItemAnimated(std::shared_ptr<UIBarButtonItem> item, bool /*animated*/) {
        left_ = std::move(item);
    }
    [[nodiscard]] const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return right_; }
    void setRightBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { right_ = std::move(item); }
    void setRightBarButtonItemAnimated(std::shared_ptr<UIBarButtonItem> item, bool /*animated*/) {
        right_ = std::move(item);
    }
    /// Only its title is used, for the back control of the item above this one.
    [[nodiscard]] const std::shared_ptr<UIBarButtonItem>& backBarButtonItem() const { return back_; }
    void setBackBarButtonItem(std::shared_ptr<UIBarButtonItem> item) { back_ = std::move(item); }
    [[nodiscard]] bool hidesBackButton() const { return hidesBackButton_; }
    void setHidesBackButton(bool hides) { hidesBackButton_ = hides; }
    void setHidesBackButtonAnimated(bool hides, bool /*animated*/) { hidesBackButton_ = hides; }

  private:
    std::optional<std::string> title_;
    std::shared_ptr<UIBarButtonItem> left_;
    std::shared_ptr<UIBarButtonItem> right_;
    std::shared_ptr<UIBarButtonItem> back_;
    bool hidesBackButton_ = false;
};
