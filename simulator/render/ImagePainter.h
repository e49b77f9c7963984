#pragma once
// Images from the device's PNG files, read once per picture and drawn at their places: scaled
// to fill, or with the toolkit's stretch caps (only the one column after the left cap and the
// one row after the top cap stretch), or as a mask painted in a colour (tab bar icons).

#include "simulator/render/Drawing.h"

#include <cairo.h>

#include <map>
#include <memory>
#include <string>

class UIImage;

namespace render {

/// Draws images, keeping each file's pixels for the life of one picture.
class ImagePainter {
  public:
    /// Draws `image` filling `rect`, stretched by its caps when it has any.
    void draw(cairo_t* cr, const UIImage& image, CGRect rect);
    /// Draws the whole file at `path` filling `rect`; false when it cannot be read.
    bool drawFile(cairo_t* cr, const std::string& path, CGRect rect);
    /// Paints `color` through the image's alpha, filling `rect`.
    void drawMask(cairo_t* cr, const UIImage& image, CGRect rect, const Rgba& color);

  private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

    /// The file's pixels, nil when it cannot be read.
    cairo_surface_t* surface(const std::string& path);
    /// Draws the part `from` (pixels) of `source` into `to` (points).
    static void drawPart(cairo_t* cr, cairo_surface_t* source, CGRect from, CGRect to);

    std::map<std::string, Surface> surfaces_;
};

} // namespace render
