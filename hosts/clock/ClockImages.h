#pragma once
// Images from the Clock application's own bundle.

#include <memory>
#include <string>

class UIImage;

namespace clk {

/// The Clock application's bundle identifier.
inline constexpr const char* kClockBundleIdentifier = "com.apple.mobiletimer";

/// The PNG resource `name` of the Clock bundle; nil when the bundle or the image is missing.
std::shared_ptr<UIImage> clockImage(const std::string& name);

} // namespace clk
