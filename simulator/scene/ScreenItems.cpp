#include "simulator/scene/ScreenItems.h"

#include "simulator/scene/Scene.h"

#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"
#include "platform/uikit/UITextField.h"

namespace sim {
namespace {

class Collector {
  public:
    std::vector<ScreenItem> items;

    // What a person reads off the scene: every seen element's text, at its visible part. The
    // title and text of a button or a field are its own; its subviews add nothing.
    void collect(const Scene& scene) {
        std::vector<bool> quiet(scene.elements.size(), false);
        for (std::size_t i = 0; i < scene.elements.size(); ++i) {
            const SceneElement& element = scene.elements[i];
            bool insideQuiet = element.parent != SceneElement::kNoParent && quiet[element.parent];
            quiet[i] = insideQuiet || std::dynamic_pointer_cast<UIButton>(element.view) ||
                       std::dynamic_pointer_cast<UITextField>(element.view);
            if (insideQuiet || !element.seen()) {
                continue;
            }
            if (element.kind == SceneElement::Kind::SectionHeader) {
                add(element.visible, "-- " + element.title.value_or("") + " --");
            } else if (element.kind == SceneElement::Kind::View) {
                addView(element.view, element.visible);
            }
        }
    }

  private:
    void addView(const std::shared_ptr<UIView>& view, CGRect onScreen) {
        if (auto button = std::dynamic_pointer_cast<UIButton>(view)) {
            std::string title = button->currentTitle().value_or("");
            add(onScreen, button->isEnabled() ? "[" + title + "]" : "[" + title + " (disabled)]",
                ScreenItem::Align::Center);
        } else if (auto field = std::dynamic_pointer_cast<UITextField>(view)) {
            add(onScreen,
                "[" + (field->text().empty() ? field->placeholder().value_or("") : field->text()) + "_]");
        } else if (auto bar = std::dynamic_pointer_cast<UINavigationBar>(view)) {
            addBar(*bar, onScreen);
        } else if (auto cell = std::dynamic_pointer_cast<UITableViewCell>(view)) {
            addCellControls(*cell, onScreen);
        } else if (auto label = std::dynamic_pointer_cast<UILabel>(view)) {
            if (label->text() && !label->text()->empty()) {
                NSTextAlignment alignment = label->textAlignment();
                add(onScreen, *label->text(),
                    alignment == NSTextAlignmentCenter  ? ScreenItem::Align::Center
                    : alignment == NSTextAlignmentRight ? ScreenItem::Align::Right
                                                        : ScreenItem::Align::Left);
            }
        }
    }

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

    void add(CGRect frame, std::string text, ScreenItem::Align align = ScreenItem::Align::Left) {
        items.push_back({frame.origin.x, frame.origin.y, frame.size.width, std::move(text), align});
    }
};

} // namespace

std::vector<ScreenItem> screenItems(const Scene& scene) {
    Collector collector;
    collector.collect(scene);
    return collector.items;
}

} // namespace sim
