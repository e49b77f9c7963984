#pragma once
// The alerts on screen. Alerts live in an overlay above the app: showing one while another is up
// puts the new one in front (a stack, front last); dismissing the front one brings back the one
// below. An alert shown while another is being dismissed waits until that dismissal ends. The
// presenter keeps every alert it shows alive until it is gone.

#include <memory>
#include <vector>

class UIAlertView;

namespace ui {

/// The device's alert overlay.
class AlertPresenter {
  public:
    /// How long the appear and dismiss animations take before didPresent / didDismiss arrive.
    static constexpr double kPresentDuration = 0.3;
    static constexpr double kDismissDuration = 0.2;

    /// Alerts on screen, back to front (the last one is in front and the only one tappable).
    [[nodiscard]] const std::vector<std::shared_ptr<UIAlertView>>& stack() const { return stack_; }
    /// Alerts waiting for a dismissal to end before they appear, in show order.
    [[nodiscard]] const std::vector<std::shared_ptr<UIAlertView>>& waiting() const { return waiting_; }
    /// The front alert, nil when none.
    [[nodiscard]] std::shared_ptr<UIAlertView> front() const;

    /// Called by UIAlertView::show.
    void show(const std::shared_ptr<UIAlertView>& alert);
    /// Called by UIAlertView when it starts to dismiss.
    void beginDismissal(const std::shared_ptr<UIAlertView>& alert);
    /// Called by UIAlertView when its dismissal animation has ended: takes it off screen.
    void endDismissal(const std::shared_ptr<UIAlertView>& alert);
    /// Called by UIAlertView after its didDismiss message: shows the alerts that waited.
    void presentWaiting();
    /// The application's process ended: every alert, on screen or waiting, goes at once and no
    /// delegate is told.
    void removeAll();

  private:
    void present(const std::shared_ptr<UIAlertView>& alert);

    std::vector<std::shared_ptr<UIAlertView>> stack_;
    std::vector<std::shared_ptr<UIAlertView>> waiting_;
    int dismissing_ = 0;
};

} // namespace ui
