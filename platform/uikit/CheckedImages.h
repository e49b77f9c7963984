#pragma once
// The outcome of checking an image file, remembered by the file's bytes. A table loads the same
// row background for every cell it makes; a file read again with exactly the bytes checked before
// has the same outcome, so it is not decoded again. Nothing is trusted by name, time or size: the
// file is read every time, and bytes that changed are decoded anew.

#include "platform/uikit/PngCheck.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class CheckedImages {
  public:
    /// The files remembered at most, and the largest remembered.
    static constexpr std::size_t kEntries = 16;
    static constexpr std::size_t kLargestRemembered = 1 << 20;

    /// The process's memory of checked images.
    static CheckedImages& shared();

    /// decodedPngSize(bytes, largestSide), decoded only when these bytes were not checked before.
    [[nodiscard]] std::optional<PixelSize> decodedSize(std::string_view bytes, std::uint32_t largestSide);
    /// How many checks decoded, for tests.
    [[nodiscard]] std::size_t decodings() const;

  private:
    struct Entry {
        std::string bytes;
        std::uint32_t largestSide = 0;
        std::optional<PixelSize> size;
    };

    mutable std::mutex mutex_;
    // The newest replaces the oldest once all places are taken.
    std::vector<Entry> entries_;
    std::size_t oldest_ = 0;
    std::size_t decodings_ = 0;
};

} // namespace ui
