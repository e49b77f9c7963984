#include "platform/uikit/UIImage.h"

#include "platform/foundation/FileBytes.h"
#include "platform/runtime/Runtime.h"
#include "platform/uikit/CheckedImages.h"
#include "platform/uikit/UIScreen.h"

#include <filesystem>
#include <sstream>

namespace {

// The longest side of an image the decoder accepts, in pixels.
constexpr std::uint32_t kLargestSide = 32767;
// The largest image file read: no image anything draws comes near it.
constexpr std::size_t kLargestFile = std::size_t{256} << 20;

// The scale a file name declares: "name@2x.png" and "name@2x~iphone.png" are double scale.
CGFloat scaleOfName(const std::string& path) {
    std::string stem = std::filesystem::path(path).stem().string();
    auto at = stem.find("@2x");
    if (at == std::string::npos) {
        return 1;
    }
    std::size_t after = at + 3;
    return after == stem.size() || stem[after] == '~' ? 2 : 1;
}

// The "@2x" sibling of a plain name: "a/b~iphone.png" -> "a/b@2x~iphone.png".
std::string doubleScaleSibling(const std::string& path) {
    std::filesystem::path p(path);
    std::string stem = p.stem().string();
    auto tilde = stem.find('~');
    std::string base = tilde == std::string::npos ? stem : stem.substr(0, tilde);
    std::string device = tilde == std::string::npos ? "" : stem.substr(tilde);
    return (p.parent_path() / (base + "@2x" + device + p.extension().string())).string();
}

std::shared_ptr<UIImage> load(const std::string& path) {
    // Nothing but a regular file is read, and nothing blocks on a FIFO.
    std::string bytes;
    if (!plist::readFileBytes(path, kLargestFile, bytes).ok()) {
        return nullptr;
    }
    // The whole image is decoded, so a file whose header is sound but whose pixels are cut
    // short or corrupt is no image, as the platform's decoder has it; a header claiming a side
    // longer than any screen draws is refused before decoding. Bytes checked before are not
    // decoded again.
    const std::optional<ui::PixelSize> pixels = ui::CheckedImages::shared().decodedSize(bytes, kLargestSide);
    if (!pixels) {
        return nullptr;
    }
    return rt::make<UIImage>(
        path, CGSize{static_cast<CGFloat>(pixels->width), static_cast<CGFloat>(pixels->height)},
        scaleOfName(path));
}

} // namespace

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(const std::string& path) {
    if (path.empty()) {
        return nullptr;
    }
    if (scaleOfName(path) == 1 && UIScreen::mainScreen()->scale() >= 2) {
        if (auto sharper = load(doubleScaleSibling(path))) {
            return sharper;
        }
    }
    return load(path);
}

std::shared_ptr<UIImage> UIImage::stretchableImageWithLeftCapWidthTopCapHeight(NSInteger leftCapWidth,
                                                                               NSInteger topCapHeight) const {
    auto copy = rt::make<UIImage>(path_, pixelSize_, scale_);
    copy->leftCap_ = leftCapWidth;
    copy->topCap_ = topCapHeight;
    return copy;
}

NSInteger UIImage::rightCapWidth() const {
    return leftCap_ == 0 ? 0 : static_cast<NSInteger>(size().width) - leftCap_ - 1;
}

NSInteger UIImage::bottomCapHeight() const {
    return topCap_ == 0 ? 0 : static_cast<NSInteger>(size().height) - topCap_ - 1;
}

std::string UIImage::description() const {
    std::ostringstream out;
    out << std::filesystem::path(path_).filename().string() << " " << size().width << "x" << size().height;
    if (leftCap_ != 0 || topCap_ != 0) {
        out << " caps " << leftCap_ << "," << topCap_;
    }
    return out.str();
}
