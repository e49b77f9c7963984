#include "simulator/render/ImagePainter.h"

#include "platform/uikit/UIImage.h"

#include <array>
#include <cmath>

namespace render {

cairo_surface_t* ImagePainter::surface(const std::string& path) {
    auto found = surfaces_.find(path);
    if (found != surfaces_.end()) {
        return found->second.get();
    }
    Surface loaded(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(loaded.get()) != CAIRO_STATUS_SUCCESS) {
        loaded.reset();
    }
    return surfaces_.emplace(path, std::move(loaded)).first->second.get();
}

void ImagePainter::drawPart(cairo_t* cr, cairo_surface_t* source, CGRect from, CGRect to) {
    if (from.size.width <= 0 || from.size.height <= 0 || to.size.width <= 0 || to.size.height <= 0) {
        return;
    }
    cairo_save(cr);
    cairo_rectangle(cr, to.origin.x, to.origin.y, to.size.width, to.size.height);
    cairo_clip(cr);
    cairo_translate(cr, to.origin.x, to.origin.y);
    cairo_scale(cr, to.size.width / from.size.width, to.size.height / from.size.height);
    cairo_set_source_surface(cr, source, -from.origin.x, -from.origin.y);
    // A stretched single column must not blur into its neighbours.
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

namespace {

// `rect` with its corners moved to the nearest whole device pixels, so that pieces drawn side by
// side share their edge pixels whole: at a fractional scale each would cover an edge pixel in
// part, and the two parts together leave it lighter than either (a seam). Whole-pixel corners
// are unchanged.
CGRect snappedToPixels(cairo_t* cr, CGRect rect) {
    double x0 = rect.origin.x;
    double y0 = rect.origin.y;
    double x1 = rect.origin.x + rect.size.width;
    double y1 = rect.origin.y + rect.size.height;
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    x0 = std::round(x0);
    y0 = std::round(y0);
    x1 = std::round(x1);
    y1 = std::round(y1);
    cairo_device_to_user(cr, &x0, &y0);
    cairo_device_to_user(cr, &x1, &y1);
    return CGRectMake(static_cast<CGFloat>(x0), static_cast<CGFloat>(y0), static_cast<CGFloat>(x1 - x0),
                      static_cast<CGFloat>(y1 - y0));
}

} // namespace

bool ImagePainter::drawFile(cairo_t* cr, const std::string& path, CGRect rect) {
    cairo_surface_t* source = surface(path);
    if (source == nullptr) {
        return false;
    }
    auto width = static_cast<CGFloat>(cairo_image_surface_get_width(source));
    auto height = static_cast<CGFloat>(cairo_image_surface_get_height(source));
    drawPart(cr, source, CGRectMake(0, 0, width, height), rect);
    return true;
}

void ImagePainter::draw(cairo_t* cr, const UIImage& image, CGRect rect) {
    cairo_surface_t* source = surface(image.path());
    if (source == nullptr) {
        return;
    }
    CGFloat scale = image.scale();
    auto pixelsWide = static_cast<CGFloat>(cairo_image_surface_get_width(source));
    auto pixelsHigh = static_cast<CGFloat>(cairo_image_surface_get_height(source));
    auto left = static_cast<CGFloat>(image.leftCapWidth());
    auto top = static_cast<CGFloat>(image.topCapHeight());
    if (left <= 0 && top <= 0) {
        drawPart(cr, source, CGRectMake(0, 0, pixelsWide, pixelsHigh), rect);
        return;
    }
    // Three spans a side: the cap, the one stretching point, the rest. A side without a cap is
    // one span that scales.
    struct Span {
        CGFloat from = 0;
        CGFloat fromLength = 0;
        CGFloat to = 0;
        CGFloat toLength = 0;
    };
    auto spans = [scale](CGFloat cap, CGFloat pixels, CGFloat origin, CGFloat length) {
        std::array<Span, 3> out{};
        if (cap <= 0) {
            out[0] = {0, pixels, origin, length};
            return out;
        }
        CGFloat points = pixels / scale;
        CGFloat rest = points - cap - 1;
        out[0] = {0, cap * scale, origin, cap};
        out[1] = {cap * scale, scale, origin + cap, length - cap - rest};
        out[2] = {(cap + 1) * scale, rest * scale, origin + length - rest, rest};
        return out;
    };
    auto columns = spans(left, pixelsWide, rect.origin.x, rect.size.width);
    auto rows = spans(top, pixelsHigh, rect.origin.y, rect.size.height);
    for (const auto& row : rows) {
        for (const auto& column : columns) {
            drawPart(cr, source, CGRectMake(column.from, row.from, column.fromLength, row.fromLength),
                     snappedToPixels(cr, CGRectMake(column.to, row.to, column.toLength, row.toLength)));
        }
    }
}

void ImagePainter::drawMask(cairo_t* cr, const UIImage& image, CGRect rect, const Rgba& color) {
    cairo_surface_t* source = surface(image.path());
    if (source == nullptr) {
        return;
    }
    auto width = static_cast<double>(cairo_image_surface_get_width(source));
    auto height = static_cast<double>(cairo_image_surface_get_height(source));
    cairo_save(cr);
    cairo_translate(cr, rect.origin.x, rect.origin.y);
    cairo_scale(cr, rect.size.width / width, rect.size.height / height);
    setColor(cr, color);
    cairo_mask_surface(cr, source, 0, 0);
    cairo_restore(cr);
}

} // namespace render
