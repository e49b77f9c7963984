#pragma once
// A view that shows an image, or its highlighted image while highlighted (as a cell's
// highlighting makes it). It takes no touches by default.

#include "platform/uikit/UIView.h"

#include <memory>

class UIImage;

/// `UIImageView`.
class UIImageView : public UIView {
  public:
    static constexpr const char* kClassName = "UIImageView";
    using Super = UIView;
    static void describe(rt::ClassBuilder& b);

    UIImageView();

    /// `initWithImage:`: the frame takes the image's size at the origin.
    void initWithImage(std::shared_ptr<UIImage> image);
    /// A new image view made with `initWithImage:`.
    static std::shared_ptr<UIImageView> withImage(std::shared_ptr<UIImage> image);

    [[nodiscard]] const std::shared_ptr<UIImage>& image() const { return image_; }
    void setImage(std::shared_ptr<UIImage> image) { image_ = std::move(image); }
    [[nodiscard]] const std::shared_ptr<UIImage>& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(std::shared_ptr<UIImage> image) { highlightedImage_ = std::move(image); }
    /// `isHighlighted` (registered, so subclasses and hooks can replace it).
    [[nodiscard]] bool isHighlighted() { return highlighted_; }
    /// `setHighlighted:` (registered: a cell reaches it by selector).
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }
    /// The image drawn now: the highlighted image while highlighted, when there is one.
    [[nodiscard]] std::shared_ptr<UIImage> displayedImage() const;

  private:
    std::shared_ptr<UIImage> image_;
    std::shared_ptr<UIImage> highlightedImage_;
    bool highlighted_ = false;
};
