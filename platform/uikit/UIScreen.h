#pragma once
// The main screen: bounds in points, always portrait (as up to iOS 7), its scale, and the
// application frame below the status bar.

#include "platform/runtime/NSObject.h"
#include "platform/uikit/Geometry.h"

#include <memory>

/// `UIScreen`.
class UIScreen : public NSObject {
  public:
    static constexpr const char* kClassName = "UIScreen";
    using Super = NSObject;

    /// `[UIScreen mainScreen]` of the device in force.
    static std::shared_ptr<UIScreen> mainScreen();

    /// (0, 0, width, height) in points, portrait.
    [[nodiscard]] CGRect bounds() const;
    /// 1 or 2.
    [[nodiscard]] CGFloat scale() const;
    /// The bounds without the status bar at the top.
    [[nodiscard]] CGRect applicationFrame() const;
};
