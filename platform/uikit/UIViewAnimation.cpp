#include "platform/uikit/UIViewAnimation.h"

#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSRunLoop.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PerformSelector.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/uikit/Environment.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIView.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// The y of a cubic Bézier timing function (0,0) (x1,y1) (x2,y2) (1,1) at a given x, found by
// bisection on x(t), which is monotonic for control points inside the unit square.
double cubicBezier(double x1, double y1, double x2, double y2, double x) {
    auto coordinate = [](double a, double b, double t) {
        double u = 1 - t;
        return 3 * u * u * t * a + 3 * u * t * t * b + t * t * t;
    };
    double lo = 0;
    double hi = 1;
    double t = x;
    for (int i = 0; i < 60; ++i) {
        t = (lo + hi) / 2;
        if (coordinate(x1, x2, t) < x) {
            lo = t;
        } else {
            hi = t;
        }
    }
    return coordinate(y1, y2, t);
}

float mix(float a, float b, double p) {
    return static_cast<float>(a + (b - a) * p);
}

std::shared_ptr<UIColor> mixColor(const std::shared_ptr<UIColor>& a, const std::shared_ptr<UIColor>& b,
                                  double p) {
    // A nil colour draws nothing: it animates like clear.
    auto from = a ? a : UIColor::clearColor();
    auto to = b ? b : UIColor::clearColor();
    return UIColor::colorWithRedGreenBlueAlpha(
        mix(from->red(), to->red(), p), mix(from->green(), to->green(), p), mix(from->blue(), to->blue(), p),
        mix(from->alpha(), to->alpha(), p));
}

} // namespace

double Animator::curveProgress(UIViewAnimationCurve curve, double linear) {
    double x = std::clamp(linear, 0.0, 1.0);
    switch (curve) {
    case UIViewAnimationCurveEaseIn:
        return cubicBezier(0.42, 0, 1, 1, x);
    case UIViewAnimationCurveEaseOut:
        return cubicBezier(0, 0, 0.58, 1, x);
    case UIViewAnimationCurveLinear:
        return x;
    case UIViewAnimationCurveEaseInOut:
    default:
        return cubicBezier(0.42, 0, 0.58, 1, x);
    }
}

AnimatedValue Animation::valueAt(NSTimeInterval moment) const {
    if (moment <= start) {
        return from;
    }
    if (duration <= 0 || moment >= end()) {
        return to;
    }
    double p = Animator::curveProgress(curve, (moment - start) / duration);
    if (const auto* a = std::get_if<CGRect>(&from)) {
        const auto& b = std::get<CGRect>(to);
        return CGRect{{mix(a->origin.x, b.origin.x, p), mix(a->origin.y, b.origin.y, p)},
                      {mix(a->size.width, b.size.width, p), mix(a->size.height, b.size.height, p)}};
    }
    if (const auto* a = std::get_if<CGFloat>(&from)) {
        return mix(*a, std::get<CGFloat>(to), p);
    }
    return mixColor(std::get<std::shared_ptr<UIColor>>(from), std::get<std::shared_ptr<UIColor>>(to), p);
}

Animator& Animator::current() {
    return Environment::current().animator();
}

void Animator::begin(std::optional<std::string> animationID, id context) {
    Block block;
    if (!open_.empty()) {
        // Nested blocks inherit the enclosing block's timing.
        block.duration = open_.back().duration;
        block.curve = open_.back().curve;
        block.delay = open_.back().delay;
    }
    block.animationID = std::move(animationID);
    block.context = std::move(context);
    open_.push_back(std::move(block));
}

void Animator::setDuration(NSTimeInterval duration) {
    if (!open_.empty()) {
        open_.back().duration = duration;
    }
}

void Animator::setCurve(UIViewAnimationCurve curve) {
    if (!open_.empty()) {
        open_.back().curve = curve;
    }
}

void Animator::setDelay(NSTimeInterval delay) {
    if (!open_.empty()) {
        open_.back().delay = delay;
    }
}

void Animator::setDelegate(id delegate) {
    if (!open_.empty()) {
        open_.back().delegate = std::move(delegate);
    }
}

void Animator::setDidStopSelector(SEL selector) {
    if (!open_.empty()) {
        open_.back().didStop = selector;
    }
}

void Animator::setBeginsFromCurrentState(bool fromCurrent) {
    if (!open_.empty()) {
        open_.back().fromCurrentState = fromCurrent;
    }
}

void Animator::recordChange(UIView& view, AnimatedProperty property, AnimatedValue from, AnimatedValue to) {
    if (open_.empty() || !enabled_) {
        return;
    }
    // A view still being constructed is not on screen yet: nothing to animate.
    std::weak_ptr<NSObject> weak = view.weak_from_this();
    if (weak.expired()) {
        return;
    }
    Block& block = open_.back();
    NSTimeInterval now = NSRunLoop::currentRunLoop().now();
    if (block.fromCurrentState) {
        if (const Animation* running = governing(view, property, now)) {
            from = running->valueAt(now);
        }
    }
    // A second change of the same property in the same block keeps the first starting value.
    for (Animation& existing : block.changes) {
        if (existing.viewAddress == &view && existing.property == property) {
            existing.to = std::move(to);
            return;
        }
    }
    Animation animation;
    animation.view = std::static_pointer_cast<UIView>(weak.lock());
    animation.viewAddress = &view;
    animation.property = property;
    animation.from = std::move(from);
    animation.to = std::move(to);
    block.changes.push_back(std::move(animation));
}

void Animator::commit() {
    if (open_.empty()) {
        return;
    }
    closed_.push_back(std::move(open_.back()));
    open_.pop_back();
    if (open_.empty()) {
        std::vector<Block> blocks;
        blocks.swap(closed_);
        start(std::move(blocks));
    }
}

void Animator::start(std::vector<Block> blocks) {
    NSRunLoop& runLoop = NSRunLoop::currentRunLoop();
    NSTimeInterval now = runLoop.now();
    dropFinished(now);
    for (Block& block : blocks) {
        for (Animation& change : block.changes) {
            change.start = now + block.delay;
            change.duration = block.duration;
            change.curve = block.curve;
            change.animationID = block.animationID;
            committed_.push_back(std::move(change));
        }
        if (!block.delegate || !block.didStop) {
            continue;
        }
        // animationDidStop:finished:context: arrives through the run loop once the block ends.
        id delegate = block.delegate;
        SEL selector = block.didStop;
        id animationID = block.animationID ? NSString::with(*block.animationID) : nullptr;
        id context = block.context;
        runLoop.scheduleStep(
            block.delay + block.duration, selector.name(), delegate,
            [delegate, selector, animationID, context] {
                Method method = class_getInstanceMethod(object_getClass(delegate), selector);
                if (method == nullptr) {
                    rt::unrecognizedSelector(delegate, selector);
                }
                id finished = NSNumber::withBool(true);
                if (ns::methodShape(method_getTypeEncoding(method)).arguments == 3) {
                    rt::sendNamed<void(id, id, id)>(delegate, selector, animationID, finished, context);
                } else {
                    performSelectorWithObjectWithObject(delegate, selector, animationID, finished);
                }
            });
    }
}

std::vector<Animation> Animator::runningAt(NSTimeInterval moment) const {
    std::vector<Animation> out;
    for (const Animation& a : committed_) {
        if (moment < a.end()) {
            out.push_back(a);
        }
    }
    return out;
}

const Animation* Animator::governing(const UIView& view, AnimatedProperty property,
                                     NSTimeInterval moment) const {
    // The latest animation of the property rules the screen until it ends; after that the model
    // value shows, including any change made later without animation.
    for (auto it = committed_.rbegin(); it != committed_.rend(); ++it) {
        if (it->viewAddress == &view && it->property == property && !it->view.expired()) {
            return moment < it->end() ? &*it : nullptr;
        }
    }
    return nullptr;
}

void Animator::dropFinished(NSTimeInterval moment) {
    std::erase_if(committed_, [moment](const Animation& a) { return a.end() < moment || a.view.expired(); });
}

} // namespace ui
