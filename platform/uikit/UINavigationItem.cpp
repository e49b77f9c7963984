#include "platform/uikit/UINavigationItem.h"

#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIBarButtonItem.h"

std::shared_ptr<UINavigationItem> UINavigationItem::withTitle(std::optional<std::string> title) {
    auto item = rt::make<UINavigationItem>();
    item->initWithTitle(std::move(title));
    return item;
}
