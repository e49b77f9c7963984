#include "simulator/ScreenItems.h"

#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UITextField.h"

#include <algorithm>

namespace sim {
namespace {

// Views drawn this faintly are not there for a person.
constexpr CGFloat kInvisibleAlpha = 0.02f;

CGRect intersection(CGRect a, CGRect b) {
    CGFloat left = std::max(CGRectGetMinX(a), CGRectGetMinX(b));
    CGFloat top = std::max(CGRectGetMinY(a), CGRectGetMinY(b));
    CGFloat right = std::min(CGRectGetMaxX(a), CGRectGetMaxX(b));
    CGFloat bottom = std::min(CGRectGetMaxY(a), CGRectGetMaxY(b));
    return CGRectMake(left, top, std::max<CGFloat>(0, right - left), std::max<CGFloat>(0, bottom - top));
}

class Collector {
  public:
    std::vector<ScreenItem> items;

    void visit(const std::shared_ptr<UIView>& view, CGRect clip, CGFloat alpha) {
        if (view->isHidden()) {
            return;
        }
        alpha *= view->alpha();
        if (alpha < kInvisibleAlpha) {
            return;
        }
        CGRect onScreen = view->frameInRootView();
        bool visible = CGRectIntersectsRect(onScreen, clip);
        if (auto button = std::dynamic_pointer_cast<UIButton>(view)) {
            if (visible) {
                std::string title = button->currentTitle().value_or("");
                add(onScreen, button->isEnabled() ? "[" + title + "]" : "[" + title + " (disabled)]",
                    ScreenItem::Align::Center);
            }
            return;
        }
        if (auto field = std::dynamic_pointer_cast<UITextField>(view)) {
            if (visible) {
                add(onScreen,
                    "[" + (field->text().empty() ? field->placeholder().value_or("") : field->text()) + "_]");
            }
            return;
        }
        if (auto label = std::dynamic_pointer_cast<UILabel>(view)) {
            if (visible && label->text() && !label->text()->empty()) {
                NSTextAlignment alignment = label->textAlignment();
                add(onScreen, *label->text(),
                    alignment == NSTextAlignmentCenter  ? ScreenItem::Align::Center
                    : alignment == NSTextAlignmentRight ? ScreenItem::Align::Right
                                                        : ScreenItem::Align::Left);
            }
        }
        CGRect inner = view->clipsToBounds() ? intersection(clip, onScreen) : clip;
        for (const auto& child : view->subviews()) {
            visit(child, inner, alpha);
        }
    }

  private:
    void add(CGRect frame, std::string text, ScreenItem::Align align = ScreenItem::Align::Left) {
        items.push_back({frame.origin.x, frame.origin.y, frame.size.width, std::move(text), align});
    }
};

} // namespace

std::vector<ScreenItem> screenItems(const std::shared_ptr<UIView>& root) {
    Collector collector;
    if (root) {
        collector.visit(root, root->frameInRootView(), 1);
    }
    return collector.items;
}

} // namespace sim
