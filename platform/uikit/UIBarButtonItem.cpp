#include "platform/uikit/UIBarButtonItem.h"

#include "platform/foundation/PerformSelector.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Runtime.h"

void UIBarButtonItem::initWithTitleStyleTargetAction(std::optional<std::string> title,
                                                     UIBarButtonItemStyle style, const id& target,
                                                     SEL action) {
    title_ = std::move(title);
    style_ = style;
    setTarget(target);
    action_ = action;
}

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::withTitle(std::optional<std::string> title,
                                                            UIBarButtonItemStyle style, const id& target,
                                                            SEL action) {
    auto item = rt::make<UIBarButtonItem>();
    item->initWithTitleStyleTargetAction(std::move(title), style, target, action);
    return item;
}

void UIBarButtonItem::setTarget(const id& target) {
    target_ = target;
    hadTarget_ = static_cast<bool>(target);
}

bool UIBarButtonItem::simulateTap() {
    if (!enabled_ || !action_) {
        return false;
    }
    id target = target_.lock();
    if (!target) {
        if (hadTarget_) {
            throw NSException(EXC_BAD_ACCESS, std::string("-[UIBarButtonItem ") + action_.name() +
                                                  "]: action sent to a deallocated target");
        }
        // A nil target goes up the responder chain, which holds no one here.
        return false;
    }
    performSelectorWithObject(target, action_, self());
    return true;
}
