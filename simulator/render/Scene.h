#pragma once
// What one picture of the device's screen shows: the screen's size and pixel scale, the moment on
// the virtual clock (animated views are drawn where they are then), the status bar's clock, and
// either the launch image SpringBoard chose or the application's window with the alerts in
// front of it. The renderer reads only the toolkit's views; whoever fills a scene in decides
// what is on screen.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/uikit/Geometry.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class UIAlertView;
class UIWindow;

namespace render {

/// The launch image shown while an application starts.
struct LaunchScreen {
    /// The name SpringBoard was given.
    std::string name;
    /// The image file in the application's bundle; empty when the bundle has none by that name.
    std::string path;
};

/// Everything a picture of the screen is drawn from.
struct Scene {
    /// The screen in points, portrait.
    CGSize screenSize{320, 568};
    /// Pixels per point.
    CGFloat scale = 2;
    /// The virtual clock's time: animations are drawn as they stand at this moment.
    NSTimeInterval moment = 0;
    /// The time the status bar shows, e.g. "8:38 AM".
    std::string clockText;
    /// Shown instead of the window when set.
    std::optional<LaunchScreen> launch;
    /// The application's window; nil draws the home screen's empty wallpaper.
    std::shared_ptr<UIWindow> window;
    /// The alerts on screen, back to front; only the front one is visible, over a dimmed screen.
    std::vector<std::shared_ptr<UIAlertView>> alerts;
};

} // namespace render
