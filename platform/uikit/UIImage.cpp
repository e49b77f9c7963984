#include "platform/uikit/UIImage.h"

#include "platform/runtime/Runtime.h"
#include "platform/uikit/UIScreen.h"

#include <png.h>

#include <filesystem>
#include <sstream>
#include <vector>

namespace {

// The longest side of an image the decoder accepts, in pixels.
constexpr png_uint_32 kLargestSide = 32767;

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
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return nullptr;
    }
    // The whole image is decoded, so a file whose header is sound but whose pixels are cut
    // short or corrupt is no image, as the platform's decoder has it. libpng's own reader: the
    // drawing library (and the windowing libraries it brings) stays out of every process that
    // only loads images to lay views out.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        png_image_free(&image);
        return nullptr;
    }
    // A header may claim any size; no image this large is ever drawn, and decoding one would
    // ask for gigabytes.
    if (image.width > kLargestSide || image.height > kLargestSide) {
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> decoded(PNG_IMAGE_SIZE(image));
    bool valid = png_image_finish_read(&image, nullptr, decoded.data(), 0, nullptr) != 0;
    CGSize pixels{static_cast<CGFloat>(image.width), static_cast<CGFloat>(image.height)};
    png_image_free(&image);
    if (!valid) {
        return nullptr;
    }
    return rt::make<UIImage>(path, pixels, scaleOfName(path));
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
