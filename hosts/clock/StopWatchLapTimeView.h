#pragma once
// The stopwatch's display of the lap in progress. It also keeps the lap's timing on the
// device's virtual clock, so `currentLapTime` is exact at any moment, displayed or not.

#include "platform/uikit/UIView.h"

#include <memory>

class UILabel;

/// The lap-in-progress display and its timing.
class StopWatchLapTimeView : public UIView {
  public:
    static constexpr const char* kClassName = "StopWatchLapTimeView";
    using Super = UIView;
    static void describe(rt::ClassBuilder& b);

    /// A lap display filling `frame`, at zero and stopped.
    static std::shared_ptr<StopWatchLapTimeView> withFrame(CGRect frame);

    /// `currentLapTime`: seconds of the lap in progress, running time included.
    double currentLapTime();
    /// The lap starts (or resumes) counting now.
    void resume();
    /// The lap stops counting now, keeping its time.
    void pause();
    /// A new lap starts at zero now, counting if the lap before was.
    void startNewLap();
    /// Back to zero, stopped.
    void clear();
    /// Puts a stopped lap of `seconds` on display (a stopwatch restored at launch).
    void restore(double seconds);
    /// Shows the current lap time in the label.
    void refresh();
    /// The label showing the lap time.
    [[nodiscard]] const std::shared_ptr<UILabel>& label() const { return label_; }

  private:
    double accumulated_ = 0;
    double resumedAt_ = 0;
    bool counting_ = false;
    std::shared_ptr<UILabel> label_;
};
