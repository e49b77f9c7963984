#pragma once
// Small cairo helpers shared by the painters: colours, rounded rectangles and vertical
// gradients, all in points (the context is already scaled to pixels).

#include "platform/uikit/Geometry.h"

#include <cairo.h>

#include <memory>

class UIColor;

namespace render {

/// A colour with alpha, components 0..1.
struct Rgba {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    /// A gray of that whiteness.
    static constexpr Rgba white(double white, double alpha = 1) { return {white, white, white, alpha}; }
    /// The toolkit colour's components; nullopt-like transparent for nil.
    static Rgba of(const std::shared_ptr<UIColor>& color);
};

/// Sets the source colour.
void setColor(cairo_t* cr, const Rgba& color);

/// Adds a rectangle with rounded corners to the path.
void roundedRect(cairo_t* cr, CGRect rect, double radius);

/// Fills the current path with a gradient from `top` to `bottom` over the rectangle's height.
void fillVertical(cairo_t* cr, CGRect rect, const Rgba& top, const Rgba& bottom);

/// A rectangle grown (or shrunk, for negative `by`) on every side.
CGRect inset(CGRect rect, CGFloat by);

} // namespace render
