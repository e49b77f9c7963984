#pragma once
// Text with pango: the system face (Helvetica, or what fontconfig gives for it) at a point
// size, plain or bold, aligned in a rectangle and centred vertically as a label centres its
// line, with an optional hard shadow. A line that does not fit ends in an ellipsis.

#include "simulator/render/Drawing.h"

#include <cairo.h>

#include <optional>
#include <string>

namespace render {

/// How a text is drawn.
struct TextStyle {
    enum class Align { Left, Center, Right };
    double size = 17;
    bool bold = false;
    Rgba color = Rgba::white(0);
    /// A shadow drawn first, without blur, at `shadowOffset`.
    std::optional<Rgba> shadow;
    CGSize shadowOffset{0, -1};
    Align align = Align::Left;
    /// Wrap onto several lines instead of ending the one line in an ellipsis.
    bool wrap = false;
};

/// Draws `text` in `rect` (points).
void drawText(cairo_t* cr, const std::string& text, CGRect rect, const TextStyle& style);

/// The width of `text` on one line, in points.
double textWidth(cairo_t* cr, const std::string& text, double size, bool bold);

/// The height of `text` wrapped to `width`, in points.
double wrappedHeight(cairo_t* cr, const std::string& text, double width, double size, bool bold);

} // namespace render
