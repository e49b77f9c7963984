#pragma once
// Whether a PNG file's bytes decode whole, and the size in pixels they declare. The toolkit keeps
// only an image's size (whoever draws it reads the pixels again), so the pixels are decoded a row
// at a time into one row's room and dropped: checking an image costs its decoding, never the
// memory of its pixels.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ui {

struct PixelSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

/// The size of the PNG whose file holds `bytes` when its header and every pixel decode, with the
/// checksums of the chunks read, and no side is longer than `largestSide` pixels; nothing
/// otherwise. A header claiming more is refused before any pixel is decoded. As a decoder reading
/// an image to draw it, the check stops after the last row: what follows the pixels is not read.
[[nodiscard]] std::optional<PixelSize> decodedPngSize(std::string_view bytes, std::uint32_t largestSide);

} // namespace ui
