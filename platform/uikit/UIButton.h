#pragma once
// Buttons: per-state titles, title colours, images and background images, each falling back to
// the Normal state's value (never to another state), and a title label that takes the current
// state's title when the button lays out.

#include "platform/uikit/UIControl.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

class UIColor;
class UIImage;
class UIImageView;
class UILabel;

/// `UIButtonType`.
enum UIButtonType : NSInteger {
    UIButtonTypeCustom = 0,
    UIButtonTypeRoundedRect = 1,
    UIButtonTypeDetailDisclosure = 2,
    UIButtonTypeInfoLight = 3,
    UIButtonTypeInfoDark = 4,
    UIButtonTypeContactAdd = 5,
};

/// `UIButton`.
class UIButton : public UIControl {
  public:
    static constexpr const char* kClassName = "UIButton";
    using Super = UIControl;

    /// `buttonWithType:`: a button with a zero frame.
    static std::shared_ptr<UIButton> buttonWithType(UIButtonType type);

    [[nodiscard]] UIButtonType buttonType() const { return type_; }

    /// `setTitle:forState:` for one state value (combinations are states of their own).
    void setTitleForState(std::optional<std::string> title, NSUInteger state);
    /// `titleForState:`: the state's own title, else the Normal title.
    [[nodiscard]] std::optional<std::string> titleForState(NSUInteger state) const;
    void setTitleColorForState(std::shared_ptr<UIColor> color, NSUInteger state);
    [[nodiscard]] std::shared_ptr<UIColor> titleColorForState(NSUInteger state) const;
    void setTitleShadowColorForState(std::shared_ptr<UIColor> color, NSUInteger state);
    [[nodiscard]] std::shared_ptr<UIColor> titleShadowColorForState(NSUInteger state) const;
    void setImageForState(std::shared_ptr<UIImage> image, NSUInteger state);
    [[nodiscard]] std::shared_ptr<UIImage> imageForState(NSUInteger state) const;
    void setBackgroundImageForState(std::shared_ptr<UIImage> image, NSUInteger state);
    [[nodiscard]] std::shared_ptr<UIImage> backgroundImageForState(NSUInteger state) const;

    /// The values for the current state (`currentTitle` etc.).
    [[nodiscard]] std::optional<std::string> currentTitle() const { return titleForState(state()); }
    [[nodiscard]] std::shared_ptr<UIColor> currentTitleColor() const { return titleColorForState(state()); }
    [[nodiscard]] std::shared_ptr<UIImage> currentImage() const { return imageForState(state()); }
    [[nodiscard]] std::shared_ptr<UIImage> currentBackgroundImage() const {
        return backgroundImageForState(state());
    }

    /// The label that shows the title: a real label owned by the button. Its text follows the
    /// current title at the button's next layout, so it can lag right after a change.
    std::shared_ptr<UILabel> titleLabel();
    /// The view that shows the current image.
    std::shared_ptr<UIImageView> imageView();

    [[nodiscard]] bool adjustsImageWhenDisabled() const { return adjustsImageWhenDisabled_; }
    void setAdjustsImageWhenDisabled(bool adjusts) { adjustsImageWhenDisabled_ = adjusts; }
    [[nodiscard]] bool adjustsImageWhenHighlighted() const { return adjustsImageWhenHighlighted_; }
    void setAdjustsImageWhenHighlighted(bool adjusts) { adjustsImageWhenHighlighted_ = adjusts; }

  protected:
    void layoutSubviews() override;
    void stateDidChange() override { setNeedsLayout(); }

  private:
    template <class V>
    static V lookup(const std::map<NSUInteger, V>& values, NSUInteger state);

    UIButtonType type_ = UIButtonTypeCustom;
    std::map<NSUInteger, std::optional<std::string>> titles_;
    std::map<NSUInteger, std::shared_ptr<UIColor>> titleColors_;
    std::map<NSUInteger, std::shared_ptr<UIColor>> titleShadowColors_;
    std::map<NSUInteger, std::shared_ptr<UIImage>> images_;
    std::map<NSUInteger, std::shared_ptr<UIImage>> backgroundImages_;
    std::shared_ptr<UILabel> titleLabel_;
    std::shared_ptr<UIImageView> imageView_;
    bool adjustsImageWhenDisabled_ = true;
    bool adjustsImageWhenHighlighted_ = true;
};
