#include "tests/simulator/window/XwdScreen.h"

#include <bit>
#include <fstream>
#include <iterator>

namespace testing_support {
namespace {

std::uint32_t bigEndian(const std::vector<unsigned char>& bytes, std::size_t field) {
    std::size_t at = field * 4;
    return (std::uint32_t{bytes[at]} << 24U) | (std::uint32_t{bytes[at + 1]} << 16U) |
           (std::uint32_t{bytes[at + 2]} << 8U) | std::uint32_t{bytes[at + 3]};
}

// Header fields, by their place among the header's 32-bit words.
enum Field : std::size_t {
    kHeaderSize = 0,
    kFormat = 2,
    kWidth = 4,
    kHeight = 5,
    kByteOrder = 7,
    kBitsPerPixel = 11,
    kBytesPerLine = 12,
    kRedMask = 14,
    kGreenMask = 15,
    kBlueMask = 16,
    kColors = 19,
    kFieldCount = 25,
};
constexpr std::uint32_t kZPixmap = 2;
constexpr std::size_t kColorSize = 12;

} // namespace

std::optional<XwdScreen> XwdScreen::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < kFieldCount * 4) {
        return std::nullopt;
    }
    XwdScreen screen;
    std::uint32_t bits = bigEndian(bytes, kBitsPerPixel);
    if (bigEndian(bytes, kFormat) != kZPixmap || (bits != 24 && bits != 32)) {
        return std::nullopt;
    }
    screen.width_ = static_cast<int>(bigEndian(bytes, kWidth));
    screen.height_ = static_cast<int>(bigEndian(bytes, kHeight));
    screen.bytesPerLine_ = static_cast<int>(bigEndian(bytes, kBytesPerLine));
    screen.bytesPerPixel_ = static_cast<int>(bits / 8);
    screen.lsbFirst_ = bigEndian(bytes, kByteOrder) == 0;
    screen.masks_[0] = bigEndian(bytes, kRedMask);
    screen.masks_[1] = bigEndian(bytes, kGreenMask);
    screen.masks_[2] = bigEndian(bytes, kBlueMask);
    std::size_t start = bigEndian(bytes, kHeaderSize) + bigEndian(bytes, kColors) * kColorSize;
    std::size_t size =
        static_cast<std::size_t>(screen.bytesPerLine_) * static_cast<std::size_t>(screen.height_);
    if (start + size > bytes.size()) {
        return std::nullopt;
    }
    screen.pixels_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                          bytes.begin() + static_cast<std::ptrdiff_t>(start + size));
    return screen;
}

render::Rgba XwdScreen::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return {0, 0, 0, 1};
    }
    std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(bytesPerLine_) +
                     static_cast<std::size_t>(x) * static_cast<std::size_t>(bytesPerPixel_);
    std::uint32_t value = 0;
    for (int i = 0; i < bytesPerPixel_; ++i) {
        std::uint32_t byte = pixels_[at + static_cast<std::size_t>(i)];
        value |= lsbFirst_ ? byte << (8U * static_cast<unsigned>(i))
                           : byte << (8U * static_cast<unsigned>(bytesPerPixel_ - 1 - i));
    }
    double channels[3] = {};
    for (int c = 0; c < 3; ++c) {
        std::uint32_t mask = masks_[c];
        if (mask == 0) {
            continue;
        }
        channels[c] = static_cast<double>((value & mask) >> std::countr_zero(mask)) /
                      static_cast<double>(mask >> std::countr_zero(mask));
    }
    return {channels[0], channels[1], channels[2], 1};
}

} // namespace testing_support
