#include "simulator/scene/Scene.h"

#include "simulator/scene/Inspector.h"

#include "simulator/render/RowFade.h"

#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UITabBarController.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UIWindow.h"

#include <algorithm>

namespace sim {
namespace {

// Views drawn this faintly leave no trace at two pixels a point (the renderer skips them too).
constexpr CGFloat kUndrawnAlpha = 0.004f;
// Views drawn this faintly are not there for a person.
constexpr CGFloat kUnseenAlpha = 0.02f;
// The platform's hit test passes over views this transparent.
constexpr CGFloat kUntouchableAlpha = 0.01f;

CGRect intersection(CGRect a, CGRect b) {
    CGFloat left = std::max(CGRectGetMinX(a), CGRectGetMinX(b));
    CGFloat top = std::max(CGRectGetMinY(a), CGRectGetMinY(b));
    CGFloat right = std::min(CGRectGetMaxX(a), CGRectGetMaxX(b));
    CGFloat bottom = std::min(CGRectGetMaxY(a), CGRectGetMaxY(b));
    if (right <= left || bottom <= top) {
        return CGRectMake(left, top, 0, 0);
    }
    return CGRectMake(left, top, right - left, bottom - top);
}

bool isEmpty(CGRect rect) {
    return rect.size.width <= 0 || rect.size.height <= 0;
}

CGRect moved(CGRect rect, CGPoint by) {
    return CGRectMake(rect.origin.x + by.x, rect.origin.y + by.y, rect.size.width, rect.size.height);
}

// Half-open containment, so that neighbouring rows never both hold a point on their border.
bool holds(CGRect rect, CGPoint point) {
    return point.x >= CGRectGetMinX(rect) && point.x < CGRectGetMaxX(rect) &&
           point.y >= CGRectGetMinY(rect) && point.y < CGRectGetMaxY(rect);
}

// Where a walk stands in the tree: the superview's content origin on screen (as drawn and as the
// model has it), what its clipping ancestors leave, and what a touch must stay inside.
struct Place {
    CGPoint origin{};
    CGPoint modelOrigin{};
    CGRect clip{};
    CGRect touchClip{};
    CGFloat alpha = 1;
    bool touchable = true;
    std::size_t parent = SceneElement::kNoParent;
};

// The one walk of the view tree, in the renderer's order: each view, then (for a table) its
// fixed background view, its rows and its floating headers, otherwise its subviews back to
// front.
class Walk {
  public:
    Walk(Scene& scene, double moment) : scene_(&scene), moment_(moment) {}

    void visit(const std::shared_ptr<UIView>& view, const Place& place, CGFloat fade = 1) {
        if (!view || view->isHidden()) {
            return;
        }
        CGFloat alpha = place.alpha * view->presentationAlpha(moment_) * fade;
        if (alpha < kUndrawnAlpha) {
            return;
        }
        SceneElement element;
        element.view = view;
        element.parent = place.parent;
        element.frame = moved(view->presentationFrame(moment_), place.origin);
        element.visible = intersection(element.frame, place.clip);
        element.modelFrame = moved(view->frame(), place.modelOrigin);
        bool touchable =
            place.touchable && view->isUserInteractionEnabled() && view->alpha() >= kUntouchableAlpha;
        element.touchArea = touchable ? intersection(element.modelFrame, place.touchClip) : CGRect{};
        element.alpha = alpha;
        auto table = std::dynamic_pointer_cast<UITableView>(view);
        auto background = view->presentationBackgroundColor(moment_);
        element.opaque = alpha >= 0.99f && (table || std::dynamic_pointer_cast<UINavigationBar>(view) ||
                                            (background && background->alpha() >= 0.99f));
        std::size_t index = scene_->elements.size();
        scene_->elements.push_back(element);

        // A table always clips: it is a scroll view.
        bool clips = view->clipsToBounds() || table;
        Place inner;
        inner.clip = clips ? element.visible : place.clip;
        inner.touchClip = element.touchArea;
        inner.alpha = alpha;
        inner.touchable = touchable;
        inner.parent = index;
        if (table) {
            visitTable(table, element, inner);
            return;
        }
        CGPoint bounds = view->bounds().origin;
        inner.origin = {element.frame.origin.x - bounds.x, element.frame.origin.y - bounds.y};
        inner.modelOrigin = {element.modelFrame.origin.x - bounds.x, element.modelFrame.origin.y - bounds.y};
        for (const auto& child : view->subviews()) {
            visit(child, inner);
        }
    }

  private:
    void visitTable(const std::shared_ptr<UITableView>& table, const SceneElement& element, Place inner) {
        // The background view stays put while the rows scroll over it.
        inner.origin = element.frame.origin;
        inner.modelOrigin = element.modelFrame.origin;
        visit(table->backgroundView(), inner);
        CGPoint offset = table->presentationContentOffset(moment_);
        CGPoint modelOffset = table->contentOffset();
        inner.origin = {element.frame.origin.x - offset.x, element.frame.origin.y - offset.y};
        inner.modelOrigin = {element.modelFrame.origin.x - modelOffset.x,
                             element.modelFrame.origin.y - modelOffset.y};
        const auto& dying = table->dyingCells();
        for (const auto& child : table->subviews()) {
            auto found = std::find_if(dying.begin(), dying.end(),
                                      [&](const UITableView::DyingCell& d) { return d.cell == child; });
            visit(child, inner,
                  found != dying.end() ? static_cast<CGFloat>(render::dyingRowFade(*found, moment_)) : 1);
        }
        for (const auto& header : table->visibleHeaders()) {
            if (!header.title) {
                continue;
            }
            SceneElement drawn;
            drawn.kind = SceneElement::Kind::SectionHeader;
            drawn.view = table;
            drawn.title = header.title;
            drawn.parent = inner.parent;
            drawn.frame = moved(header.floatingFrame, inner.origin);
            drawn.visible = intersection(drawn.frame, inner.clip);
            drawn.modelFrame = moved(header.floatingFrame, inner.modelOrigin);
            // A header takes the touches on it: they reach neither the rows under it nor the
            // table's tap on a row.
            drawn.touchArea = inner.touchable ? intersection(drawn.modelFrame, inner.touchClip) : CGRect{};
            drawn.alpha = inner.alpha;
            drawn.opaque = inner.alpha >= 0.99f;
            scene_->elements.push_back(drawn);
        }
    }

    Scene* scene_;
    double moment_;
};

void addTabBar(Scene& scene, const std::shared_ptr<UIWindow>& window) {
    auto tabs = std::dynamic_pointer_cast<UITabBarController>(window->rootViewController());
    if (!tabs || !tabs->isViewLoaded()) {
        return;
    }
    CGRect area = tabs->view()->frameInRootView();
    CGFloat height = UITabBarController::kTabBarHeight;
    SceneElement bar;
    bar.kind = SceneElement::Kind::TabBar;
    bar.view = tabs->view();
    bar.frame = CGRectMake(area.origin.x, CGRectGetMaxY(area) - height, area.size.width, height);
    bar.visible = bar.frame;
    bar.modelFrame = bar.frame;
    bar.touchArea = bar.frame;
    bar.opaque = true;
    scene.elements.push_back(bar);
}

// Marks what an opaque element in front hides.
void markCovered(Scene& scene) {
    auto& elements = scene.elements;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        SceneElement& element = elements[i];
        if (isEmpty(element.visible)) {
            continue;
        }
        CGPoint middle = element.visibleCentre();
        for (std::size_t j = i + 1; j < elements.size() && !element.covered; ++j) {
            const SceneElement& front = elements[j];
            element.covered = front.opaque && !scene.isInside(front, element) && holds(front.visible, middle);
        }
    }
}

} // namespace

bool SceneElement::seen() const {
    return !isEmpty(visible) && !covered && alpha >= kUnseenAlpha;
}

CGPoint SceneElement::visibleCentre() const {
    return {visible.origin.x + visible.size.width / 2, visible.origin.y + visible.size.height / 2};
}

const char* alertStateName(AlertState state) {
    switch (state) {
    case AlertState::Appearing:
        return "appearing";
    case AlertState::Closing:
        return "closing";
    default:
        return "shown";
    }
}

const SceneElement* Scene::find(const UIView* view) const {
    for (const auto& element : elements) {
        if (element.kind == SceneElement::Kind::View && element.view.get() == view) {
            return &element;
        }
    }
    return nullptr;
}

bool Scene::isInside(const SceneElement& inner, const SceneElement& outer) const {
    const SceneElement* at = &inner;
    while (at != nullptr) {
        if (at == &outer) {
            return true;
        }
        at = at->parent == SceneElement::kNoParent ? nullptr : &elements[at->parent];
    }
    return false;
}

std::vector<const SceneElement*> Scene::hitChain(CGPoint point) const {
    // The last element in walking order that takes the touch is the frontmost: every element's
    // touch area lies inside its parent's, and a view's subtree comes after the views behind it.
    std::vector<const SceneElement*> chain;
    for (auto it = elements.rbegin(); it != elements.rend(); ++it) {
        if (holds(it->touchArea, point)) {
            for (const SceneElement* at = &*it; at != nullptr;
                 at = at->parent == SceneElement::kNoParent ? nullptr : &elements[at->parent]) {
                chain.insert(chain.begin(), at);
            }
            break;
        }
    }
    return chain;
}

bool Scene::windowTakesTouches() const {
    return !launch && window && alerts.empty();
}

const SceneAlert* Scene::frontAlert() const {
    return alerts.empty() ? nullptr : &alerts.back();
}

Scene captureScene(Device& device) {
    Scene scene;
    scene.moment = device.now();
    const DeviceProfile& profile = device.settings().profile;
    scene.screenSize = {profile.width, profile.height};
    scene.launch = device.launchImageShown();
    if (scene.launch) {
        return scene;
    }
    scene.window = device.window();
    if (!scene.window) {
        return scene;
    }
    CGRect screen = CGRectMake(0, 0, profile.width, profile.height);
    Walk(scene, scene.moment)
        .visit(scene.window, Place{{}, {}, screen, screen, 1, true, SceneElement::kNoParent});
    addTabBar(scene, scene.window);
    markCovered(scene);
    for (const auto& alert : Inspector(device).alerts()) {
        AlertState state = alert->isDismissing()  ? AlertState::Closing
                           : alert->isPresented() ? AlertState::Shown
                                                  : AlertState::Appearing;
        scene.alerts.push_back({alert, state});
    }
    return scene;
}

CGPoint pointInElement(const SceneElement& element, CGPoint point) {
    CGPoint bounds =
        element.view && element.kind == SceneElement::Kind::View ? element.view->bounds().origin : CGPoint{};
    return {point.x - element.modelFrame.origin.x + bounds.x,
            point.y - element.modelFrame.origin.y + bounds.y};
}

} // namespace sim
