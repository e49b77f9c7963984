#pragma once
// A text label: text, font, colours, an optional hard shadow, alignment and a highlighted state
// in which it draws with its highlighted text colour (when it has one).

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/UIView.h"

#include <memory>
#include <optional>
#include <string>

class UIFont;

/// `NSTextAlignment` with the iOS numbering (Right and Center differ from OS X).
enum NSTextAlignment : NSInteger {
    NSTextAlignmentLeft = 0,
    NSTextAlignmentCenter = 1,
    NSTextAlignmentRight = 2,
    NSTextAlignmentJustified = 3,
    NSTextAlignmentNatural = 4,
};

/// `UILabel`.
class UILabel : public UIView {
  public:
    static constexpr const char* kClassName = "UILabel";
    using Super = UIView;
    static void describe(rt::ClassBuilder& b);

    /// Defaults: no text, system font 17, black text, left aligned, no shadow (offset (0, -1)),
    /// not highlighted, no touches, and an opaque white background (iOS 6; iOS 7 made it clear,
    /// and code that forgets to clear it should show its white box).
    UILabel();

    [[nodiscard]] const std::optional<std::string>& text() const { return text_; }
    void setText(std::optional<std::string> text) { text_ = std::move(text); }
    [[nodiscard]] const std::shared_ptr<UIFont>& font() const { return font_; }
    /// A nil font restores the default system font of size 17.
    void setFont(std::shared_ptr<UIFont> font);
    [[nodiscard]] const std::shared_ptr<UIColor>& textColor() const { return textColor_; }
    /// A nil colour restores black.
    void setTextColor(std::shared_ptr<UIColor> color);
    [[nodiscard]] const std::shared_ptr<UIColor>& highlightedTextColor() const {
        return highlightedTextColor_;
    }
    void setHighlightedTextColor(std::shared_ptr<UIColor> color) { highlightedTextColor_ = std::move(color); }
    [[nodiscard]] const std::shared_ptr<UIColor>& shadowColor() const { return shadowColor_; }
    void setShadowColor(std::shared_ptr<UIColor> color) { shadowColor_ = std::move(color); }
    [[nodiscard]] CGSize shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(CGSize offset) { shadowOffset_ = offset; }
    [[nodiscard]] NSTextAlignment textAlignment() const { return alignment_; }
    void setTextAlignment(NSTextAlignment alignment) { alignment_ = alignment; }
    [[nodiscard]] bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    [[nodiscard]] NSInteger numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(NSInteger lines) { numberOfLines_ = lines; }

    /// `isHighlighted` (registered).
    [[nodiscard]] bool isHighlighted() { return highlighted_; }
    /// `setHighlighted:` (registered: cells reach it by selector, subclasses replace it).
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }

    /// The colour the text is drawn in now: the highlighted text colour while highlighted, when
    /// there is one, else the text colour.
    [[nodiscard]] std::shared_ptr<UIColor> effectiveTextColor() const;
    /// True when a shadow is drawn (only with a shadow colour).
    [[nodiscard]] bool drawsShadow() const { return static_cast<bool>(shadowColor_); }

  private:
    std::optional<std::string> text_;
    std::shared_ptr<UIFont> font_;
    std::shared_ptr<UIColor> textColor_;
    std::shared_ptr<UIColor> highlightedTextColor_;
    std::shared_ptr<UIColor> shadowColor_;
    CGSize shadowOffset_{0, -1};
    NSTextAlignment alignment_ = NSTextAlignmentLeft;
    bool enabled_ = true;
    bool highlighted_ = false;
    NSInteger numberOfLines_ = 1;
};
