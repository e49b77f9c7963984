#pragma once
// Views: a frame in the superview's coordinates, subviews in back-to-front order, alpha,
// hidden flag and background colour. Frame, alpha and background colour animate: inside an
// animation block the model value changes at once and the change is recorded for the screen.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/Selector.h"
#include "platform/uikit/Geometry.h"
#include "platform/uikit/UIViewAnimation.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIColor;

/// A rectangle on screen that holds other views.
class UIView : public NSObject {
  public:
    static constexpr const char* kClassName = "UIView";
    using Super = NSObject;

    UIView() = default;

    /// `initWithFrame:`.
    void initWithFrame(CGRect frame);
    /// A view of class T made with `initWithFrame:`.
    template <class T = UIView>
    static std::shared_ptr<T> withFrame(CGRect frame);

    // Geometry. The frame is in the superview's coordinates; the bounds origin is where the
    // view's own content starts (a scrolled table moves it).
    [[nodiscard]] CGRect frame() const { return frame_; }
    void setFrame(CGRect frame);
    [[nodiscard]] CGRect bounds() const { return {boundsOrigin_, frame_.size}; }
    /// Sets the bounds; a new size keeps the centre, as on the phone.
    void setBounds(CGRect bounds);
    [[nodiscard]] CGPoint center() const { return {CGRectGetMidX(frame_), CGRectGetMidY(frame_)}; }
    void setCenter(CGPoint center);

    // Appearance.
    [[nodiscard]] CGFloat alpha() const { return alpha_; }
    void setAlpha(CGFloat alpha);
    [[nodiscard]] bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    [[nodiscard]] const std::shared_ptr<UIColor>& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::shared_ptr<UIColor> color);
    [[nodiscard]] NSInteger tag() const { return tag_; }
    void setTag(NSInteger tag) { tag_ = tag; }
    [[nodiscard]] bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    [[nodiscard]] bool clipsToBounds() const { return clipsToBounds_; }
    void setClipsToBounds(bool clips) { clipsToBounds_ = clips; }

    // Hierarchy. A view holds its subviews; the superview link does not retain.
    [[nodiscard]] std::shared_ptr<UIView> superview() const { return superview_.lock(); }
    /// Back to front.
    [[nodiscard]] const std::vector<std::shared_ptr<UIView>>& subviews() const { return subviews_; }
    /// Adds on top, first removing the view from its current superview.
    void addSubview(const std::shared_ptr<UIView>& view);
    /// Inserts at a position (clamped to the end).
    void insertSubviewAtIndex(const std::shared_ptr<UIView>& view, NSInteger index);
    void insertSubviewBelowSubview(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& below);
    void insertSubviewAboveSubview(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& above);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<UIView>& view);
    void sendSubviewToBack(const std::shared_ptr<UIView>& view);
    /// True for the view itself and any view below it.
    [[nodiscard]] bool isDescendantOfView(const UIView& ancestor) const;
    /// The first view with this tag, searching the view itself first, then depth first.
    [[nodiscard]] std::shared_ptr<UIView> viewWithTag(NSInteger tag);
    /// The topmost ancestor (the view itself when it has no superview).
    [[nodiscard]] std::shared_ptr<UIView> rootView();
    /// A rectangle in this view's coordinates converted to `view`'s (to the root's when nil).
    [[nodiscard]] CGRect convertRectToView(CGRect rect, const UIView* view) const;
    /// The view's frame in its root view's coordinates, as drawn (model values).
    [[nodiscard]] CGRect frameInRootView() const;

    // Layout.
    /// Marks the view for layout at the next layout pass.
    void setNeedsLayout() { needsLayout_ = true; }
    [[nodiscard]] bool needsLayout() const { return needsLayout_; }
    /// Lays out this view if marked, then its subviews, as the platform does before drawing.
    void layoutIfNeeded();

    // Block animations (class methods on the phone).
    static void beginAnimationsContext(std::optional<std::string> animationID = std::nullopt,
                                       id context = nullptr);
    static void setAnimationDuration(NSTimeInterval duration);
    static void setAnimationCurve(UIViewAnimationCurve curve);
    static void setAnimationDelay(NSTimeInterval delay);
    static void setAnimationDelegate(id delegate);
    static void setAnimationDidStopSelector(SEL selector);
    static void setAnimationBeginsFromCurrentState(bool fromCurrentState);
    static void commitAnimations();
    static void setAnimationsEnabled(bool enabled);
    static bool areAnimationsEnabled();

    // What is on screen at a moment, for drawing.
    /// The frame drawn at `moment`: the animated value while an animation runs, else the model.
    [[nodiscard]] CGRect presentationFrame(NSTimeInterval moment) const;
    /// The alpha drawn at `moment`.
    [[nodiscard]] CGFloat presentationAlpha(NSTimeInterval moment) const;
    /// The background colour drawn at `moment`.
    [[nodiscard]] std::shared_ptr<UIColor> presentationBackgroundColor(NSTimeInterval moment) const;

  protected:
    /// Lays out the subviews; the base does nothing.
    virtual void layoutSubviews() {}
    /// Called after the view was added to or removed from a superview.
    virtual void didMoveToSuperview() {}
    /// Called before a subview leaves this view.
    virtual void willRemoveSubview(UIView& /*subview*/) {}

  private:
    void detachFromSuperview();

  protected:
    /// Moves the content origin without touching the frame (scrolling).
    void setBoundsOrigin(CGPoint origin) { boundsOrigin_ = origin; }

  private:
    CGRect frame_{};
    CGPoint boundsOrigin_{};
    CGFloat alpha_ = 1;
    bool hidden_ = false;
    bool userInteractionEnabled_ = true;
    bool clipsToBounds_ = false;
    bool needsLayout_ = true;
    NSInteger tag_ = 0;
    std::shared_ptr<UIColor> backgroundColor_;
    std::weak_ptr<UIView> superview_;
    std::vector<std::shared_ptr<UIView>> subviews_;
};

#include "platform/runtime/Runtime.h"

template <class T>
std::shared_ptr<T> UIView::withFrame(CGRect frame) {
    auto view = rt::make<T>();
    view->initWithFrame(frame);
    return view;
}
