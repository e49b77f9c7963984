#pragma once
// Fonts. Only the system face is offered, plain or bold, so fonts compare by (size, bold) and
// never by a face name that changed between OS versions.

#include "platform/runtime/NSObject.h"

#include <memory>
#include <string>

/// A font: the system face at a point size, plain or bold.
class UIFont : public NSObject {
  public:
    static constexpr const char* kClassName = "UIFont";
    using Super = NSObject;

    UIFont(float pointSize, bool bold) : pointSize_(pointSize), bold_(bold) {}

    /// `systemFontOfSize:`.
    static std::shared_ptr<UIFont> systemFontOfSize(float size);
    /// `boldSystemFontOfSize:`.
    static std::shared_ptr<UIFont> boldSystemFontOfSize(float size);

    [[nodiscard]] float pointSize() const { return pointSize_; }
    [[nodiscard]] bool isBold() const { return bold_; }
    /// "Helvetica" or "Helvetica-Bold", the face the era's system font used.
    [[nodiscard]] std::string fontName() const { return bold_ ? "Helvetica-Bold" : "Helvetica"; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    /// "system 17" or "bold 20".
    [[nodiscard]] std::string description() const override;

  private:
    float pointSize_;
    bool bold_;
};
