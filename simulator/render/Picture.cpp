#include "simulator/render/Picture.h"

#include "simulator/render/PictureFile.h"
#include "simulator/render/ScreenPainter.h"

#include <cairo-svg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace render {
namespace {

int pixelsFor(CGFloat points, CGFloat scale) {
    return static_cast<int>(std::lround(points * scale));
}

bool endsWithSvg(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ".svg";
}

void paintScaled(cairo_surface_t* surface, const Scene& scene) {
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scene.scale, scene.scale);
    ScreenPainter(cr).paint(scene);
    cairo_destroy(cr);
}

// Cairo writes a picture through this into memory; the file is written whole afterwards, so
// that a failed write says why and leaves nothing behind.
cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

Picture Picture::of(const Scene& scene) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsFor(scene.screenSize.width, scene.scale),
                                   pixelsFor(scene.screenSize.height, scene.scale));
    paintScaled(surface, scene);
    cairo_surface_flush(surface);
    return {surface, scene.scale};
}

std::optional<Picture> Picture::readPng(const std::string& path, CGFloat scale) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return std::nullopt;
    }
    return Picture(surface, scale);
}

int Picture::width() const {
    return cairo_image_surface_get_width(surface_.get());
}

int Picture::height() const {
    return cairo_image_surface_get_height(surface_.get());
}

Rgba Picture::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) {
        return {0, 0, 0, 0};
    }
    const unsigned char* row =
        cairo_image_surface_get_data(surface_.get()) +
        static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface_.get());
    std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(row)[x];
    bool opaque = cairo_image_surface_get_format(surface_.get()) == CAIRO_FORMAT_RGB24;
    double alpha = opaque ? 1.0 : static_cast<double>((argb >> 24) & 0xFF) / 255;
    auto channel = [&](int shift) {
        double premultiplied = static_cast<double>((argb >> shift) & 0xFF) / 255;
        return alpha > 0 ? premultiplied / alpha : 0.0;
    };
    return {channel(16), channel(8), channel(0), alpha};
}

Rgba Picture::meanColor(CGRect points) const {
    int left = std::max(0, pixelsFor(points.origin.x, scale_));
    int top = std::max(0, pixelsFor(points.origin.y, scale_));
    int right = std::min(width(), pixelsFor(CGRectGetMaxX(points), scale_));
    int bottom = std::min(height(), pixelsFor(CGRectGetMaxY(points), scale_));
    Rgba sum{0, 0, 0, 0};
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            Rgba p = pixel(x, y);
            sum.red += p.red;
            sum.green += p.green;
            sum.blue += p.blue;
            sum.alpha += p.alpha;
            ++count;
        }
    }
    if (count == 0) {
        return sum;
    }
    return {sum.red / count, sum.green / count, sum.blue / count, sum.alpha / count};
}

std::string Picture::writePng(const std::string& path) const {
    std::string bytes;
    cairo_status_t status = cairo_surface_write_to_png_stream(surface_.get(), appendBytes, &bytes);
    return status == CAIRO_STATUS_SUCCESS ? writeWholeFile(path, bytes) : cairo_status_to_string(status);
}

std::string writePicture(const Scene& scene, const std::string& path) {
    if (!endsWithSvg(path)) {
        return Picture::of(scene).writePng(path);
    }
    std::string bytes;
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(
        appendBytes, &bytes, pixelsFor(scene.screenSize.width, scene.scale),
        pixelsFor(scene.screenSize.height, scene.scale));
    paintScaled(surface, scene);
    cairo_surface_finish(surface);
    cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    return status == CAIRO_STATUS_SUCCESS ? writeWholeFile(path, bytes) : cairo_status_to_string(status);
}

} // namespace render
