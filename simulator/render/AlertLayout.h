#pragma once
// Where the parts of an alert sit on screen: its box, title, message, text field and buttons.
// The painter draws the front alert there, and the window finds the button under the pointer
// there, so a click lands on the button the picture shows.

#include "platform/uikit/Geometry.h"

#include <cairo.h>

#include <optional>
#include <vector>

class UIAlertView;

namespace render {

/// The frames of an alert's parts, in screen points.
struct AlertLayout {
    CGRect box{};
    CGRect title{};
    CGRect message{};
    /// The text field, for an alert that takes text.
    std::optional<CGRect> field;
    /// One frame per button, by button index.
    std::vector<CGRect> buttons;

    /// Lays `alert` out on a screen of `screen` points; `cr` measures the texts.
    static AlertLayout of(cairo_t* cr, UIAlertView& alert, CGSize screen);
    /// Lays `alert` out, measuring on a scratch surface.
    static AlertLayout of(UIAlertView& alert, CGSize screen);
    /// The index of the button at `point`, -1 when none.
    [[nodiscard]] int buttonAt(CGPoint point) const;
};

} // namespace render
