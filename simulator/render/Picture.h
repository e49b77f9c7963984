#pragma once
// A picture of the screen in memory, at the screen's pixel size, and the files it is written
// to: PNG, or SVG (drawn afresh as vectors) when the file name ends in ".svg".

#include "simulator/render/Drawing.h"
#include "simulator/render/Scene.h"

#include <cairo.h>

#include <memory>
#include <optional>
#include <string>

namespace render {

/// The screen drawn into pixels.
class Picture {
  public:
    /// Draws `scene` at its pixel size.
    static Picture of(const Scene& scene);
    /// Reads a PNG file written earlier, at `scale` pixels per point; nullopt when it cannot.
    static std::optional<Picture> readPng(const std::string& path, CGFloat scale);

    [[nodiscard]] int width() const;
    [[nodiscard]] int height() const;
    /// Pixels per point.
    [[nodiscard]] CGFloat scale() const { return scale_; }
    /// The colour of one pixel (not premultiplied).
    [[nodiscard]] Rgba pixel(int x, int y) const;
    /// The mean colour of a rectangle given in points.
    [[nodiscard]] Rgba meanColor(CGRect points) const;
    /// Writes a PNG file whole; returns why it could not ("No space left on device"), empty when
    /// it did. A failed write leaves no file.
    [[nodiscard]] std::string writePng(const std::string& path) const;

  private:
    struct SurfaceDeleter {
        void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
    };
    Picture(cairo_surface_t* surface, CGFloat scale) : surface_(surface), scale_(scale) {}

    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface_;
    CGFloat scale_;
};

/// Writes `scene` to `path`: SVG when the name ends in ".svg" (any case), else PNG. Returns why
/// it could not, empty when it did.
std::string writePicture(const Scene& scene, const std::string& path);

} // namespace render
