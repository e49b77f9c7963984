#include "platform/uikit/CheckedImages.h"

namespace ui {

CheckedImages& CheckedImages::shared() {
    static CheckedImages images;
    return images;
}

std::optional<PixelSize> CheckedImages::decodedSize(std::string_view bytes, std::uint32_t largestSide) {
    const std::lock_guard<std::mutex> guard(mutex_);
    for (const Entry& entry : entries_) {
        if (entry.largestSide == largestSide && entry.bytes == bytes) {
            return entry.size;
        }
    }
    ++decodings_;
    std::optional<PixelSize> size = decodedPngSize(bytes, largestSide);
    if (bytes.size() <= kLargestRemembered) {
        Entry entry{std::string(bytes), largestSide, size};
        if (entries_.size() < kEntries) {
            entries_.push_back(std::move(entry));
        } else {
            entries_[oldest_] = std::move(entry);
            oldest_ = (oldest_ + 1) % kEntries;
        }
    }
    return size;
}

std::size_t CheckedImages::decodings() const {
    const std::lock_guard<std::mutex> guard(mutex_);
    return decodings_;
}

} // namespace ui
