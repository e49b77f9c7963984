#include "simulator/scene/ScreenItems.h"

#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
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
        if (auto bar = std::dynamic_pointer_cast<UINavigationBar>(view)) {
            if (visible) {
                addBar(*bar, onScreen);
            }
        }
        if (auto table = std::dynamic_pointer_cast<UITableView>(view)) {
            // A table paints its background over everything behind it (a plain table is opaque),
            // so what lies under it is not seen: a panel slid over another table hides its rows.
            if (visible) {
                cover(intersection(clip, onScreen));
            }
            CGRect inner = table->clipsToBounds() ? intersection(clip, onScreen) : clip;
            for (const auto& header : table->visibleHeaders()) {
                CGRect drawn = table->convertRectToView(header.floatingFrame, nullptr);
                if (header.title && CGRectIntersectsRect(drawn, inner)) {
                    add(drawn, "-- " + *header.title + " --");
                }
            }
        }
        if (auto cell = std::dynamic_pointer_cast<UITableViewCell>(view)) {
            if (visible) {
                addCellControls(*cell, onScreen);
            }
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
    // The bar's back control or left item, its title and its right item.
    void addBar(const UINavigationBar& bar, CGRect frame) {
        auto top = bar.topItem();
        if (!top) {
            return;
        }
        if (bar.showsBackButton()) {
            add(frame, "< " + bar.backButtonTitle().value_or("Back"));
        } else if (auto left = top->leftBarButtonItem()) {
            add(frame, "[" + left->title().value_or("") + "]");
        }
        if (top->title()) {
            add(frame, *top->title(), ScreenItem::Align::Center);
        }
        if (auto right = top->rightBarButtonItem()) {
            add(frame, "[" + right->title().value_or("") + "]", ScreenItem::Align::Right);
        }
    }

    // What the table shows around a cell in editing mode.
    void addCellControls(const UITableViewCell& cell, CGRect frame) {
        if (cell.editingStyle() == UITableViewCellEditingStyleDelete) {
            add(frame, "(-)");
        } else if (cell.editingStyle() == UITableViewCellEditingStyleInsert) {
            add(frame, "(+)");
        }
        if (cell.showingDeleteConfirmation()) {
            add(frame, "[Delete]", ScreenItem::Align::Right);
        } else if (cell.showsReorderControl()) {
            add(frame, "=", ScreenItem::Align::Right);
        }
    }

    // Drops the items collected so far that start inside `area`.
    void cover(CGRect area) {
        std::erase_if(items, [&](const ScreenItem& item) {
            return item.x >= CGRectGetMinX(area) && item.x < CGRectGetMaxX(area) &&
                   item.y >= CGRectGetMinY(area) && item.y < CGRectGetMaxY(area);
        });
    }

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
