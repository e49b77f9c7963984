#pragma once
// The browser's images from the Clock application's bundle: the striped background behind both
// tables and the background of every row.

#include <memory>
#include <string>

class UIImageView;

namespace lv {

/// The striped background's resource name for the device in force: the tall variant on a phone
/// whose main screen is exactly 568 points high, the other one everywhere else.
std::string stripeBackgroundName();
/// A new image view showing the striped background; its image is nil when the resource is missing.
std::shared_ptr<UIImageView> stripeBackgroundView();
/// A new image view showing the row background, stretchable after a left cap of 5 points; its
/// image is nil when the resource is missing.
std::shared_ptr<UIImageView> rowBackgroundView();

} // namespace lv
