#include "platform/uikit/UIFont.h"

#include "platform/runtime/Runtime.h"

#include <cstdio>

std::shared_ptr<UIFont> UIFont::systemFontOfSize(float size) {
    return rt::make<UIFont>(size, false);
}

std::shared_ptr<UIFont> UIFont::boldSystemFontOfSize(float size) {
    return rt::make<UIFont>(size, true);
}

bool UIFont::isEqual(const NSObject& other) const {
    const auto* font = dynamic_cast<const UIFont*>(&other);
    return font != nullptr && font->pointSize_ == pointSize_ && font->bold_ == bold_;
}

std::string UIFont::description() const {
    char text[48];
    std::snprintf(text, sizeof text, "%s %g", bold_ ? "bold" : "system", pointSize_);
    return text;
}
