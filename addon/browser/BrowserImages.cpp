#include "addon/browser/BrowserImages.h"

#include "addon/hooks/ClockBundle.h"
#include "platform/uikit/UIDevice.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIScreen.h"

namespace lv {

std::string stripeBackgroundName() {
    const bool tallPhone = UIDevice::currentDevice()->userInterfaceIdiom() == UIUserInterfaceIdiomPhone &&
                           UIScreen::mainScreen()->bounds().size.height == 568;
    return tallPhone ? "stripe_background-568h@2x~iphone" : "stripe_background@2x~iphone";
}

std::shared_ptr<UIImageView> stripeBackgroundView() {
    return UIImageView::withImage(imageAtPath(clockImagePath(stripeBackgroundName())));
}

std::shared_ptr<UIImageView> rowBackgroundView() {
    auto image = imageAtPath(clockImagePath("stopwatch_lap_row_background@2x~iphone"));
    return UIImageView::withImage(image ? image->stretchableImageWithLeftCapWidthTopCapHeight(5, 0)
                                        : nullptr);
}

} // namespace lv
