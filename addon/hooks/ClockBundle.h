#pragma once
// Images from the Clock application's bundle, found by resource name and type "png".

#include <memory>
#include <string>

class UIImage;

namespace lv {

/// The identifier of the Clock application, whose bundle holds the images.
inline constexpr const char* kClockBundleIdentifier = "com.apple.mobiletimer";

/// The path of `name`.png in the Clock bundle; empty when the bundle or the resource is missing.
std::string clockImagePath(const std::string& name);
/// The image at a path found by clockImagePath; nil when the path is empty or not an image.
std::shared_ptr<UIImage> imageAtPath(const std::string& path);

} // namespace lv
