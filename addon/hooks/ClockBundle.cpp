#include "addon/hooks/ClockBundle.h"

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSString.h"
#include "platform/uikit/UIImage.h"

namespace lv {

std::string clockImagePath(const std::string& name) {
    auto bundle = NSBundle::bundleWithIdentifier(kClockBundleIdentifier);
    auto path = bundle ? bundle->pathForResourceOfType(name, "png") : nullptr;
    return path ? path->str() : std::string();
}

std::shared_ptr<UIImage> imageAtPath(const std::string& path) {
    return path.empty() ? nullptr : UIImage::imageWithContentsOfFile(path);
}

} // namespace lv
