#pragma once
// A label with two shadows: the one it shows normally and one it shows while highlighted. A table
// cell highlights its labels when the row is touched or selected, so the row's texts can change
// their shadow with it (for example one that falls upwards instead of downwards).

#include "platform/runtime/NSObject.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/UILabel.h"

#include <memory>

class UIColor;

/// `LVLabel`: a label that swaps its drawn shadow for a highlighted pair while highlighted.
class LVLabel : public UILabel {
  public:
    static constexpr const char* kClassName = "LVLabel";
    using Super = UILabel;
    static void describe(rt::ClassBuilder& b);

    /// A label made with `initWithFrame:shadowColor:shadowOffset:`.
    static std::shared_ptr<LVLabel> withFrameShadow(CGRect frame, std::shared_ptr<UIColor> shadowColor,
                                                    CGSize shadowOffset);

    /// `initWithFrame:shadowColor:shadowOffset:`: the frame initialiser, then the given shadow as
    /// the drawn one, then `configure`, which keeps it as the saved pair.
    void initWithFrameShadowColorShadowOffset(CGRect frame, std::shared_ptr<UIColor> shadowColor,
                                              CGSize shadowOffset);
    /// `initWithCoder:` (registered): the decoder initialiser, then `configure`.
    void initWithCoder(const id& coder);

    /// `setHighlighted:` (registered: a cell sends it by selector): the inherited operation first,
    /// then the shadow pair that matches the state it has set.
    void setHighlighted(bool highlighted);

    /// `savedShadowOffset`: the offset drawn while not highlighted.
    [[nodiscard]] CGSize savedShadowOffset() const { return savedShadowOffset_; }
    /// `setSavedShadowOffset:`; shows at the next `setHighlighted:`.
    void setSavedShadowOffset(CGSize offset) { savedShadowOffset_ = offset; }
    /// `savedShadowColor`: the colour drawn while not highlighted.
    [[nodiscard]] const std::shared_ptr<UIColor>& savedShadowColor() const { return savedShadowColor_; }
    /// `setSavedShadowColor:`; shows at the next `setHighlighted:`.
    void setSavedShadowColor(std::shared_ptr<UIColor> color) { savedShadowColor_ = std::move(color); }
    /// `highlightedShadowOffset`: the offset drawn while highlighted.
    [[nodiscard]] CGSize highlightedShadowOffset() const { return highlightedShadowOffset_; }
    /// `setHighlightedShadowOffset:`; shows at the next `setHighlighted:`.
    void setHighlightedShadowOffset(CGSize offset) { highlightedShadowOffset_ = offset; }
    /// `highlightedShadowColor`: the colour drawn while highlighted; nil draws no shadow.
    [[nodiscard]] const std::shared_ptr<UIColor>& highlightedShadowColor() const {
        return highlightedShadowColor_;
    }
    /// `setHighlightedShadowColor:`; shows at the next `setHighlighted:`.
    void setHighlightedShadowColor(std::shared_ptr<UIColor> color) {
        highlightedShadowColor_ = std::move(color);
    }

  private:
    /// Keeps the drawn shadow as the saved pair and mirrors its offset through the origin as the
    /// highlighted offset, with no highlighted colour. Only the two initialisers call it.
    void configure();

    std::shared_ptr<UIColor> highlightedShadowColor_;
    CGSize highlightedShadowOffset_{};
    std::shared_ptr<UIColor> savedShadowColor_;
    CGSize savedShadowOffset_{};
};
