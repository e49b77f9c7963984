#include "simulator/render/Drawing.h"

#include "platform/uikit/UIColor.h"

#include <algorithm>
#include <cmath>

namespace render {

Rgba Rgba::of(const std::shared_ptr<UIColor>& color) {
    if (!color) {
        return {0, 0, 0, 0};
    }
    return {color->red(), color->green(), color->blue(), color->alpha()};
}

void setColor(cairo_t* cr, const Rgba& color) {
    cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
}

void roundedRect(cairo_t* cr, CGRect rect, double radius) {
    double x = rect.origin.x;
    double y = rect.origin.y;
    double w = rect.size.width;
    double h = rect.size.height;
    double r = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fillVertical(cairo_t* cr, CGRect rect, const Rgba& top, const Rgba& bottom) {
    cairo_pattern_t* gradient =
        cairo_pattern_create_linear(0, rect.origin.y, 0, rect.origin.y + rect.size.height);
    cairo_pattern_add_color_stop_rgba(gradient, 0, top.red, top.green, top.blue, top.alpha);
    cairo_pattern_add_color_stop_rgba(gradient, 1, bottom.red, bottom.green, bottom.blue, bottom.alpha);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
}

CGRect inset(CGRect rect, CGFloat by) {
    return CGRectMake(rect.origin.x + by, rect.origin.y + by, rect.size.width - 2 * by,
                      rect.size.height - 2 * by);
}

} // namespace render
