#pragma once
// The simulated device's toolkit state that the phone keeps process-wide: its idiom and screen,
// the animation state, the alerts on screen and the key window. The simulator owns one per
// device; each test makes a fresh one current with a Scope, so nothing leaks between tests.

#include "platform/uikit/Geometry.h"

#include <memory>

class UIDevice;
class UIScreen;
class UIWindow;

/// `UIUserInterfaceIdiom`.
enum UIUserInterfaceIdiom : int { UIUserInterfaceIdiomPhone = 0, UIUserInterfaceIdiomPad = 1 };

namespace ui {

class Animator;
class AlertPresenter;

/// What a device looks like: its idiom and its screen, in points, portrait.
struct DeviceConfiguration {
    UIUserInterfaceIdiom idiom = UIUserInterfaceIdiomPhone;
    /// 320x480 (3.5-inch), 320x568 (4-inch) or 768x1024 (iPad).
    CGSize screenSize{320, 480};
    CGFloat scale = 2;
    /// The height of the status bar that applicationFrame leaves out.
    CGFloat statusBarHeight = 20;
};

/// The toolkit state of one simulated device.
class Environment {
  public:
    explicit Environment(DeviceConfiguration configuration = {});
    ~Environment();
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    /// The environment in force: the innermost Scope's, else a process default.
    static Environment& current();

    /// Puts an environment in force for its lifetime.
    class Scope {
      public:
        explicit Scope(Environment& environment);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        Environment* previous_;
    };

    [[nodiscard]] const DeviceConfiguration& configuration() const { return configuration_; }
    /// Changes the device's idiom or screen; the device and screen objects follow.
    void configure(const DeviceConfiguration& configuration) { configuration_ = configuration; }

    [[nodiscard]] Animator& animator() { return *animator_; }
    [[nodiscard]] AlertPresenter& alerts() { return *alerts_; }
    /// `[UIDevice currentDevice]`: reads this environment's configuration.
    std::shared_ptr<UIDevice> device();
    /// `[UIScreen mainScreen]`: reads this environment's configuration.
    std::shared_ptr<UIScreen> screen();
    /// The window made key last, nil when none (or gone).
    [[nodiscard]] std::shared_ptr<UIWindow> keyWindow() const { return keyWindow_.lock(); }
    /// Called by UIWindow::makeKeyAndVisible.
    void setKeyWindow(const std::shared_ptr<UIWindow>& window) { keyWindow_ = window; }

  private:
    DeviceConfiguration configuration_;
    std::unique_ptr<Animator> animator_;
    std::unique_ptr<AlertPresenter> alerts_;
    std::weak_ptr<UIWindow> keyWindow_;
};

} // namespace ui
