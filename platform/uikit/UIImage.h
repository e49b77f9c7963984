#pragma once
// Images loaded from PNG files. Only what the toolkit needs is kept: the file, the size in
// points, the scale and the stretch caps; the pixels are read again by whoever draws them.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/NSObject.h"
#include "platform/uikit/Geometry.h"

#include <memory>
#include <string>

/// `UIImage`.
class UIImage : public NSObject {
  public:
    static constexpr const char* kClassName = "UIImage";
    using Super = NSObject;

    UIImage(std::string path, CGSize pixelSize, CGFloat scale)
        : path_(std::move(path)), pixelSize_(pixelSize), scale_(scale) {}

    /// `imageWithContentsOfFile:`: nil when the file is missing or not a decodable PNG. A name
    /// with "@2x" is a double-scale image (its size in points is half its pixels); on a
    /// double-scale screen a plain name prefers its "@2x" sibling when one exists. No caching: the
    /// file is read at every call and each call makes a new image (only the decoding of bytes
    /// checked before is skipped, ui::CheckedImages).
    static std::shared_ptr<UIImage> imageWithContentsOfFile(const std::string& path);

    /// The size in points.
    [[nodiscard]] CGSize size() const { return {pixelSize_.width / scale_, pixelSize_.height / scale_}; }
    [[nodiscard]] CGFloat scale() const { return scale_; }
    /// The file the pixels come from.
    [[nodiscard]] const std::string& path() const { return path_; }

    /// `stretchableImageWithLeftCapWidth:topCapHeight:`: a new image of the same file whose
    /// single column after the left cap and single row after the top cap stretch; a cap of 0
    /// means no stretching in that direction.
    [[nodiscard]] std::shared_ptr<UIImage>
    stretchableImageWithLeftCapWidthTopCapHeight(NSInteger leftCapWidth, NSInteger topCapHeight) const;
    [[nodiscard]] NSInteger leftCapWidth() const { return leftCap_; }
    [[nodiscard]] NSInteger topCapHeight() const { return topCap_; }
    /// Width - left cap - 1, or 0 when not stretchable horizontally.
    [[nodiscard]] NSInteger rightCapWidth() const;
    /// Height - top cap - 1, or 0 when not stretchable vertically.
    [[nodiscard]] NSInteger bottomCapHeight() const;
    [[nodiscard]] std::string description() const override;

  private:
    std::string path_;
    CGSize pixelSize_;
    CGFloat scale_;
    NSInteger leftCap_ = 0;
    NSInteger topCap_ = 0;
};
