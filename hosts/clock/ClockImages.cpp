#include "hosts/clock/ClockImages.h"

#include "platform/foundation/NSBundle.h"
#include "platform/uikit/UIImage.h"

namespace clk {

std::shared_ptr<UIImage> clockImage(const std::string& name) {
    auto bundle = NSBundle::bundleWithIdentifier(kClockBundleIdentifier);
    auto path = bundle ? bundle->pathForResourceOfType(name, "png") : nullptr;
    return path ? UIImage::imageWithContentsOfFile(path->str()) : nullptr;
}

} // namespace clk
