// A stretchable image is drawn in pieces (caps, the stretching column and row, the rest). At a
// fractional number of pixels per point a piece's edge falls inside a pixel; the pieces must
// still meet without a lighter line between them, at any scale and offset the window may use.

#include "simulator/render/ImagePainter.h"

#include "platform/uikit/UIImage.h"
#include "tests/support/DeviceFixture.h"
#include "tests/support/TemporaryDirectory.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

class StretchedImage : public testing_support::DeviceTest {};

TEST_F(StretchedImage, PiecesMeetWithoutSeamsAtFractionalScales) {
    // An opaque 11 x 11 image at one pixel a point, stretching at its sixth column and row.
    testing_support::TemporaryDirectory folder;
    std::string path = folder.path() + "/button.png";
    Surface source(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 11, 11));
    cairo_t* paint = cairo_create(source.get());
    cairo_set_source_rgb(paint, 1, 0, 0);
    cairo_paint(paint);
    cairo_destroy(paint);
    ASSERT_EQ(cairo_surface_write_to_png(source.get(), path.c_str()), CAIRO_STATUS_SUCCESS);
    auto image = UIImage::imageWithContentsOfFile(path);
    ASSERT_TRUE(image);
    auto stretchable = image->stretchableImageWithLeftCapWidthTopCapHeight(5, 5);

    for (double scale : {1.0, 1.25, 1.5, 1.75, 2.0, 1.3}) {
        for (double left : {0.0, 3.3, 7.5}) {
            Surface target(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 300, 120));
            cairo_t* cr = cairo_create(target.get());
            cairo_scale(cr, scale, scale);
            render::ImagePainter painter;
            CGRect rect = CGRectMake(static_cast<CGFloat>(left), 2, 97.7f, 31);
            painter.draw(cr, *stretchable, rect);
            cairo_destroy(cr);
            cairo_surface_flush(target.get());
            // Every pixel wholly inside the rectangle is fully painted.
            const unsigned char* data = cairo_image_surface_get_data(target.get());
            int stride = cairo_image_surface_get_stride(target.get());
            int x0 = static_cast<int>(std::ceil(rect.origin.x * scale));
            int x1 = static_cast<int>(std::floor((rect.origin.x + rect.size.width) * scale));
            int y0 = static_cast<int>(std::ceil(rect.origin.y * scale));
            int y1 = static_cast<int>(std::floor((rect.origin.y + rect.size.height) * scale));
            int faint = 0;
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) {
                    // ARGB32 in native order: alpha is the top byte of each 32-bit pixel.
                    std::uint32_t pixel = 0;
                    std::memcpy(&pixel, data + y * stride + x * 4, 4);
                    faint += (pixel >> 24) != 255 ? 1 : 0;
                }
            }
            EXPECT_EQ(faint, 0) << "scale " << scale << ", left " << left;
        }
    }
}

} // namespace
