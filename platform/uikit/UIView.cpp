#include "platform/uikit/UIView.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/uikit/Environment.h"
#include "platform/uikit/UIColor.h"

#include <algorithm>

void UIView::initWithFrame(CGRect frame) {
    frame_ = frame;
    setNeedsLayout();
}

void UIView::setFrame(CGRect frame) {
    CGRect old = frame_;
    frame_ = frame;
    if (old.size != frame.size) {
        setNeedsLayout();
    }
    if (old != frame) {
        ui::Animator::current().recordChange(*this, ui::AnimatedProperty::Frame, old, frame);
    }
}

void UIView::setBounds(CGRect bounds) {
    boundsOrigin_ = bounds.origin;
    CGPoint middle = center();
    setFrame({{middle.x - bounds.size.width / 2, middle.y - bounds.size.height / 2}, bounds.size});
}

void UIView::setCenter(CGPoint center) {
    setFrame({{center.x - frame_.size.width / 2, center.y - frame_.size.height / 2}, frame_.size});
}

void UIView::setAlpha(CGFloat alpha) {
    CGFloat old = alpha_;
    alpha_ = alpha;
    if (old != alpha) {
        ui::Animator::current().recordChange(*this, ui::AnimatedProperty::Alpha, old, alpha);
    }
}

void UIView::setBackgroundColor(std::shared_ptr<UIColor> color) {
    auto old = backgroundColor_;
    backgroundColor_ = std::move(color);
    if (!sameColor(old, backgroundColor_)) {
        ui::Animator::current().recordChange(*this, ui::AnimatedProperty::BackgroundColor, old,
                                             backgroundColor_);
    }
}

void UIView::detachFromSuperview() {
    auto parent = superview_.lock();
    if (!parent) {
        superview_.reset();
        return;
    }
    parent->willRemoveSubview(*this);
    auto& siblings = parent->subviews_;
    siblings.erase(
        std::remove_if(siblings.begin(), siblings.end(), [this](const auto& v) { return v.get() == this; }),
        siblings.end());
    superview_.reset();
}

void UIView::addSubview(const std::shared_ptr<UIView>& view) {
    insertSubviewAtIndex(view, static_cast<NSInteger>(subviews_.size()) + 1);
}

void UIView::insertSubviewAtIndex(const std::shared_ptr<UIView>& view, NSInteger index) {
    if (!view || view.get() == this) {
        return;
    }
    // Keep the view alive while it moves between superviews.
    std::shared_ptr<UIView> keep = view;
    bool sameParent = keep->superview_.lock().get() == this;
    keep->detachFromSuperview();
    std::size_t at = index < 0 ? 0 : std::min(static_cast<std::size_t>(index), subviews_.size());
    subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(at), keep);
    keep->superview_ = self<UIView>();
    if (!sameParent) {
        keep->setNeedsLayout();
        keep->didMoveToSuperview();
    }
}

void UIView::insertSubviewBelowSubview(const std::shared_ptr<UIView>& view,
                                       const std::shared_ptr<UIView>& below) {
    auto it = std::find(subviews_.begin(), subviews_.end(), below);
    if (it == subviews_.end()) {
        addSubview(view);
        return;
    }
    std::size_t at = static_cast<std::size_t>(it - subviews_.begin());
    if (view && view->superview_.lock().get() == this) {
        auto current = std::find(subviews_.begin(), subviews_.end(), view);
        if (static_cast<std::size_t>(current - subviews_.begin()) < at) {
            --at;
        }
    }
    insertSubviewAtIndex(view, static_cast<NSInteger>(at));
}

void UIView::insertSubviewAboveSubview(const std::shared_ptr<UIView>& view,
                                       const std::shared_ptr<UIView>& above) {
    auto it = std::find(subviews_.begin(), subviews_.end(), above);
    if (it == subviews_.end()) {
        addSubview(view);
        return;
    }
    std::size_t at = static_cast<std::size_t>(it - subviews_.begin()) + 1;
    if (view && view->superview_.lock().get() == this) {
        auto current = std::find(subviews_.begin(), subviews_.end(), view);
        if (static_cast<std::size_t>(current - subviews_.begin()) < at) {
            --at;
        }
    }
    insertSubviewAtIndex(view, static_cast<NSInteger>(at));
}

void UIView::removeFromSuperview() {
    if (superview_.expired()) {
        return;
    }
    std::shared_ptr<UIView> keep = self<UIView>();
    detachFromSuperview();
    didMoveToSuperview();
}

void UIView::bringSubviewToFront(const std::shared_ptr<UIView>& view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it != subviews_.end()) {
        std::rotate(it, it + 1, subviews_.end());
    }
}

void UIView::sendSubviewToBack(const std::shared_ptr<UIView>& view) {
    auto it = std::find(subviews_.begin(), subviews_.end(), view);
    if (it != subviews_.end()) {
        std::rotate(subviews_.begin(), it, it + 1);
    }
}

bool UIView::isDescendantOfView(const UIView& ancestor) const {
    for (const UIView* v = this; v != nullptr;) {
        if (v == &ancestor) {
            return true;
        }
        auto parent = v->superview_.lock();
        v = parent.get();
    }
    return false;
}

std::shared_ptr<UIView> UIView::viewWithTag(NSInteger tag) {
    if (tag_ == tag) {
        return self<UIView>();
    }
    for (const auto& child : subviews_) {
        if (auto found = child->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

std::shared_ptr<UIView> UIView::rootView() {
    std::shared_ptr<UIView> view = self<UIView>();
    while (auto parent = view->superview()) {
        view = parent;
    }
    return view;
}

CGRect UIView::convertRectToView(CGRect rect, const UIView* view) const {
    // Up to the root: each step leaves a view's content coordinates (its bounds origin) for
    // its superview's, where the view sits at its frame origin.
    CGRect out = rect;
    const UIView* current = this;
    std::shared_ptr<UIView> holder;
    while (current != nullptr && current != view) {
        auto parent = current->superview_.lock();
        if (!parent) {
            break;
        }
        out.origin.x += current->frame_.origin.x - current->boundsOrigin_.x;
        out.origin.y += current->frame_.origin.y - current->boundsOrigin_.y;
        holder = parent;
        current = holder.get();
    }
    if (view == nullptr || current == view) {
        return out;
    }
    // `view` is not an ancestor: go through the root and back down into `view`.
    CGRect target = view->convertRectToView(CGRectZero, nullptr);
    out.origin.x -= target.origin.x;
    out.origin.y -= target.origin.y;
    return out;
}

CGRect UIView::frameInRootView() const {
    if (superview_.expired()) {
        return frame_;
    }
    return convertRectToView(bounds(), nullptr);
}

void UIView::layoutIfNeeded() {
    std::shared_ptr<UIView> keep = self<UIView>();
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    // Copied: layout may add or remove subviews.
    auto children = subviews_;
    for (const auto& child : children) {
        child->layoutIfNeeded();
    }
}

void UIView::beginAnimationsContext(std::optional<std::string> animationID, id context) {
    ui::Animator::current().begin(std::move(animationID), std::move(context));
}

void UIView::setAnimationDuration(NSTimeInterval duration) {
    ui::Animator::current().setDuration(duration);
}

void UIView::setAnimationCurve(UIViewAnimationCurve curve) {
    ui::Animator::current().setCurve(curve);
}

void UIView::setAnimationDelay(NSTimeInterval delay) {
    ui::Animator::current().setDelay(delay);
}

void UIView::setAnimationDelegate(id delegate) {
    ui::Animator::current().setDelegate(std::move(delegate));
}

void UIView::setAnimationDidStopSelector(SEL selector) {
    ui::Animator::current().setDidStopSelector(selector);
}

void UIView::setAnimationBeginsFromCurrentState(bool fromCurrentState) {
    ui::Animator::current().setBeginsFromCurrentState(fromCurrentState);
}

void UIView::commitAnimations() {
    ui::Animator::current().commit();
}

void UIView::setAnimationsEnabled(bool enabled) {
    ui::Animator::current().setEnabled(enabled);
}

bool UIView::areAnimationsEnabled() {
    return ui::Animator::current().enabled();
}

CGRect UIView::presentationFrame(NSTimeInterval moment) const {
    if (const ui::Animation* a =
            ui::Animator::current().governing(*this, ui::AnimatedProperty::Frame, moment)) {
        return std::get<CGRect>(a->valueAt(moment));
    }
    return frame_;
}

CGFloat UIView::presentationAlpha(NSTimeInterval moment) const {
    if (const ui::Animation* a =
            ui::Animator::current().governing(*this, ui::AnimatedProperty::Alpha, moment)) {
        return std::get<CGFloat>(a->valueAt(moment));
    }
    return alpha_;
}

std::shared_ptr<UIColor> UIView::presentationBackgroundColor(NSTimeInterval moment) const {
    if (const ui::Animation* a =
            ui::Animator::current().governing(*this, ui::AnimatedProperty::BackgroundColor, moment)) {
        return std::get<std::shared_ptr<UIColor>>(a->valueAt(moment));
    }
    return backgroundColor_;
}
