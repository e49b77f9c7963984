#pragma once
// A window: the root of a view tree on screen. Making it key and visible shows its root view
// controller (loading its view and sending the appearance messages) and has the run loop lay it
// out at the end of every pass, as the phone does before it draws.

#include "platform/uikit/UIView.h"

#include <cstdint>
#include <memory>

class UIViewController;

/// `UIWindow`.
class UIWindow : public UIView {
  public:
    static constexpr const char* kClassName = "UIWindow";
    using Super = UIView;

    UIWindow() = default;
    ~UIWindow() override;

    [[nodiscard]] const std::shared_ptr<UIViewController>& rootViewController() const { return root_; }
    /// Installs the controller whose view fills the window; on a visible window its view is
    /// shown at once with the appearance messages.
    void setRootViewController(std::shared_ptr<UIViewController> controller);
    /// Shows the window, makes it the key window and the root controller's view appear.
    void makeKeyAndVisible();
    [[nodiscard]] bool isKeyWindow() const;

  private:
    void showRoot();

    std::shared_ptr<UIViewController> root_;
    bool visible_ = false;
    std::uint64_t layoutObserver_ = 0;
};
