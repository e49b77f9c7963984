#include "platform/uikit/UIControl.h"

#include "platform/foundation/PerformSelector.h"
#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/ObjcClass.h"
#include "platform/uikit/UIKitMessages.h"

void UIControl::describe(rt::ClassBuilder& b) {
    b.method<&UIControl::setEnabled>(msg::setEnabled);
    b.method<&UIControl::isEnabled>(msg::isEnabled);
    b.method<&UIControl::setHighlighted>(msg::setHighlighted);
    b.method<&UIControl::isHighlighted>(msg::isHighlighted);
    b.method<&UIControl::setSelected>(msg::setSelected);
    b.method<&UIControl::isSelected>(msg::isSelected);
}

void UIControl::setEnabled(bool enabled) {
    enabled_ = enabled;
    stateDidChange();
}

void UIControl::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    stateDidChange();
}

void UIControl::setSelected(bool selected) {
    selected_ = selected;
    stateDidChange();
}

NSUInteger UIControl::state() const {
    NSUInteger bits = UIControlStateNormal;
    if (highlighted_) {
        bits |= UIControlStateHighlighted;
    }
    if (!enabled_) {
        bits |= UIControlStateDisabled;
    }
    if (selected_) {
        bits |= UIControlStateSelected;
    }
    return bits;
}

void UIControl::addTargetActionForControlEvents(const id& target, SEL action, NSUInteger events) {
    if (!action) {
        return;
    }
    for (TargetAction& pair : actions_) {
        if (pair.action == action && pair.target.lock() == target &&
            pair.hadTarget == static_cast<bool>(target)) {
            pair.events |= events;
            return;
        }
    }
    actions_.push_back({target, static_cast<bool>(target), action, events});
}

void UIControl::removeTargetActionForControlEvents(const id& target, SEL action, NSUInteger events) {
    for (TargetAction& pair : actions_) {
        if ((!target || pair.target.lock() == target) && (!action || pair.action == action)) {
            pair.events &= ~events;
        }
    }
    std::erase_if(actions_, [](const TargetAction& pair) { return pair.events == 0; });
}

std::vector<SEL> UIControl::actionsForTargetForControlEvent(const id& target, NSUInteger event) const {
    std::vector<SEL> out;
    for (const TargetAction& pair : actions_) {
        if (pair.target.lock() == target && (pair.events & event) != 0) {
            out.push_back(pair.action);
        }
    }
    return out;
}

void UIControl::sendActionTo(SEL action, const TargetAction& pair) {
    id target = pair.target.lock();
    if (!target) {
        if (pair.hadTarget) {
            throw NSException(EXC_BAD_ACCESS, std::string("-[") + (isa() ? isa()->name : "UIControl") +
                                                  " sendAction:" + action.name() +
                                                  "]: action sent to a deallocated target");
        }
        // A nil target means the responder chain, and no responder here handles actions.
        return;
    }
    performSelectorWithObject(target, action, self());
}

void UIControl::sendActionsForControlEvents(NSUInteger events) {
    // Copied: an action may add or remove targets.
    auto pairs = actions_;
    for (const TargetAction& pair : pairs) {
        if ((pair.events & events) != 0) {
            sendActionTo(pair.action, pair);
        }
    }
}

bool UIControl::simulateTap() {
    if (!enabled_ || !isUserInteractionEnabled() || isHidden()) {
        return false;
    }
    auto keep = self();
    rt::send(keep, msg::setHighlighted, true);
    sendActionsForControlEvents(UIControlEventTouchDown);
    rt::send(keep, msg::setHighlighted, false);
    sendActionsForControlEvents(UIControlEventTouchUpInside);
    return true;
}
