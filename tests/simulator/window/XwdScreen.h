#pragma once
// The screen of a virtual X server, read from the XWD file Xvfb keeps in its -fbdir folder
// (Xvfb_screen0): a header in most-significant-byte-first order, a colour map, then the pixels
// in the byte order the header names.

#include "simulator/render/Drawing.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

/// A true-colour X screen in memory.
class XwdScreen {
  public:
    /// Reads a 24- or 32-bit true-colour XWD file; nullopt when it is anything else.
    static std::optional<XwdScreen> read(const std::string& path);

    [[nodiscard]] int width() const { return width_; }
    [[nodiscard]] int height() const { return height_; }
    /// The colour of one pixel; black outside the screen.
    [[nodiscard]] render::Rgba pixel(int x, int y) const;

  private:
    int width_ = 0;
    int height_ = 0;
    int bytesPerLine_ = 0;
    int bytesPerPixel_ = 0;
    bool lsbFirst_ = true;
    std::uint32_t masks_[3] = {};
    std::vector<unsigned char> pixels_;
};

} // namespace testing_support
