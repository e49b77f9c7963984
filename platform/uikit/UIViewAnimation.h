#pragma once
// Block-style view animations (begin, configure, change, commit). As on the phone, a property
// set inside a block takes its new model value at once; what moves over time is only the value
// on screen. Each change is recorded with its start, duration and curve, so the presentation
// value at any moment can be computed for drawing, and the animation's did-stop message is
// delivered through the run loop when it ends.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/Forward.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/Geometry.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class UIColor;
class UIView;

/// `UIViewAnimationCurve`.
enum UIViewAnimationCurve : NSInteger {
    UIViewAnimationCurveEaseInOut = 0,
    UIViewAnimationCurveEaseIn = 1,
    UIViewAnimationCurveEaseOut = 2,
    UIViewAnimationCurveLinear = 3,
};

namespace ui {

/// The view properties that animate.
enum class AnimatedProperty { Frame, Alpha, BackgroundColor };
/// A value of an animated property.
using AnimatedValue = std::variant<CGRect, CGFloat, std::shared_ptr<UIColor>>;

/// One recorded change of one property of one view.
struct Animation {
    std::weak_ptr<UIView> view;
    /// The view's address, for matching only (the view may be gone).
    const UIView* viewAddress = nullptr;
    AnimatedProperty property = AnimatedProperty::Frame;
    AnimatedValue from;
    AnimatedValue to;
    /// When the value starts to move: the outermost commit plus the block's delay.
    NSTimeInterval start = 0;
    NSTimeInterval duration = 0;
    UIViewAnimationCurve curve = UIViewAnimationCurveEaseInOut;
    std::optional<std::string> animationID;
    [[nodiscard]] NSTimeInterval end() const { return start + duration; }
    /// The value on screen at `moment` (before start: from; after end: to).
    [[nodiscard]] AnimatedValue valueAt(NSTimeInterval moment) const;
};

/// The device's animation state: open blocks, the enabled switch and the recorded animations.
class Animator {
  public:
    /// Block defaults: 0.2 s, ease-in-out, no delay.
    static constexpr NSTimeInterval kDefaultDuration = 0.2;

    /// The animator of the device in force.
    static Animator& current();

    /// `beginAnimations:context:`. Blocks nest; an inner block starts with its outer block's
    /// settings (the platform's inherited duration and curve).
    void begin(std::optional<std::string> animationID, id context);
    /// `commitAnimations`: closes the innermost block; the outermost commit starts them all.
    void commit();
    /// True inside a block.
    [[nodiscard]] bool inBlock() const { return !open_.empty(); }
    /// The block setters; ignored outside a block, as on the phone.
    void setDuration(NSTimeInterval duration);
    void setCurve(UIViewAnimationCurve curve);
    void setDelay(NSTimeInterval delay);
    void setDelegate(id delegate);
    void setDidStopSelector(SEL selector);
    void setBeginsFromCurrentState(bool fromCurrent);
    /// `setAnimationsEnabled:`: when off, changes inside blocks apply without animation.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    [[nodiscard]] bool enabled() const { return enabled_; }

    /// Records a property change of `view` when inside an enabled block. Called by UIView's setters.
    void recordChange(UIView& view, AnimatedProperty property, AnimatedValue from, AnimatedValue to);

    /// Every committed animation not yet dropped, in commit order.
    [[nodiscard]] const std::vector<Animation>& animations() const { return committed_; }
    /// The committed animations still running (or waiting for their delay) at `moment`.
    [[nodiscard]] std::vector<Animation> runningAt(NSTimeInterval moment) const;
    /// The animation that governs a property of a view on screen at `moment`, if any.
    [[nodiscard]] const Animation* governing(const UIView& view, AnimatedProperty property,
                                             NSTimeInterval moment) const;
    /// Forgets animations that ended before `moment`.
    void dropFinished(NSTimeInterval moment);

    /// Progress along a curve (0..1) for a linear progress (0..1), with the platform's timing
    /// functions: cubic Béziers (0.42,0,0.58,1), (0.42,0,1,1), (0,0,0.58,1) and linear.
    static double curveProgress(UIViewAnimationCurve curve, double linear);

  private:
    struct Block {
        std::optional<std::string> animationID;
        id context;
        NSTimeInterval duration = kDefaultDuration;
        UIViewAnimationCurve curve = UIViewAnimationCurveEaseInOut;
        NSTimeInterval delay = 0;
        id delegate;
        SEL didStop;
        bool fromCurrentState = false;
        std::vector<Animation> changes;
    };

    void start(std::vector<Block> blocks);

    std::vector<Block> open_;
    std::vector<Block> closed_;
    std::vector<Animation> committed_;
    bool enabled_ = true;
};

} // namespace ui
