#include "platform/uikit/PngCheck.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace ui {
namespace {

// The bytes libpng reads from, in order.
struct Source {
    const unsigned char* at;
    std::size_t left;
};

void readFromSource(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    if (length > source->left) {
        png_error(png, "the file ends early");
    }
    std::memcpy(out, source->at, length);
    source->at += length;
    source->left -= length;
}

// libpng reports an error by jumping back to the step that met it; nothing is printed, as
// nothing is printed when an image is simply not there.
[[noreturn]] void jumpBack(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}
void ignoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// The steps that may jump back: each keeps only trivially destructible values of its own, since
// a jump skips destructors.
struct Layout {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    png_size_t rowBytes = 0;
    int passes = 1;
};

bool readHeader(png_structp png, png_infop info, Layout* layout) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_read_info(png, info);
    layout->width = png_get_image_width(png, info);
    layout->height = png_get_image_height(png, info);
    layout->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    layout->rowBytes = png_get_rowbytes(png, info);
    return true;
}

bool readPixels(png_structp png, const Layout* layout, png_bytep row) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    for (int pass = 0; pass < layout->passes; ++pass) {
        for (png_uint_32 y = 0; y < layout->height; ++y) {
            png_read_row(png, row, nullptr);
        }
    }
    return true;
}

// The reader and its header information, released however the check ends.
class Reader {
  public:
    Reader()
        : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, jumpBack, ignoreWarning)),
          info_(png_ != nullptr ? png_create_info_struct(png_) : nullptr) {}
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    ~Reader() { png_destroy_read_struct(&png_, &info_, nullptr); }

    [[nodiscard]] bool made() const { return png_ != nullptr && info_ != nullptr; }
    [[nodiscard]] png_structp png() const { return png_; }
    [[nodiscard]] png_infop info() const { return info_; }

  private:
    png_structp png_;
    png_infop info_;
};

} // namespace

std::optional<PixelSize> decodedPngSize(std::string_view bytes, std::uint32_t largestSide) {
    // The reader checks the signature itself, as the first thing it reads.
    Reader reader;
    if (!reader.made()) {
        return std::nullopt;
    }
    Source source{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
    png_set_read_fn(reader.png(), &source, readFromSource);
    // A longer side is an error in the header, before anything is decoded.
    png_set_user_limits(reader.png(), largestSide, largestSide);
    Layout layout;
    if (!readHeader(reader.png(), reader.info(), &layout)) {
        return std::nullopt;
    }
    std::vector<png_byte> row(layout.rowBytes);
    if (!readPixels(reader.png(), &layout, row.data())) {
        return std::nullopt;
    }
    return PixelSize{layout.width, layout.height};
}

} // namespace ui
