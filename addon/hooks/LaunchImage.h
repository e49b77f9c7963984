#pragma once
// The launch image SpringBoard shows while the Clock application starts: the one for the tab it
// will open on.

#include "platform/foundation/NSString.h"
#include "platform/runtime/Forward.h"

#include <memory>
#include <string>

namespace lv {

/// The launch image name for the stored tab position `lastSelectedView` (1 to 5; anything else
/// names the plain default image) with the device's suffix.
std::string clockLaunchImageName(int lastSelectedView, const std::string& suffix);
/// "-568h@2x~lapvane" on a phone whose screen is 568 points tall, else "@2x~lapvane".
std::string launchImageSuffix();

/// Replacement of SBApplication's `_currentDefaultPNGName`.
std::shared_ptr<NSString> applicationCurrentDefaultPNGName(const id& self, SEL sel);

} // namespace lv
