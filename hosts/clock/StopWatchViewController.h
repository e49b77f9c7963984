#pragma once
// The Clock application's stopwatch screen: a total time display, the lap in progress, a
// Start/Stop and a Lap/Reset button, and the list of finished laps. Its state lives in runtime
// instance variables (`_isTimerRunning`, `_laptimeView`, `_laps`), and every step the buttons
// take is a registered method sent through the runtime, so a replacement of `_startTimer`,
// `_stopTimer`, `_lap`, `_clearAllLaps` or `viewDidLoad` takes effect.

#include "platform/uikit/UIViewController.h"

#include <cstdint>
#include <memory>
#include <vector>

class NSMutableArray;
class StopWatchLapTimeView;
class UIButton;
class UILabel;

/// The stopwatch tab.
class StopWatchViewController : public UIViewController {
  public:
    static constexpr const char* kClassName = "StopWatchViewController";
    using Super = UIViewController;
    static void describe(rt::ClassBuilder& b);

    ~StopWatchViewController() override;

    /// A stopwatch screen titled "Stopwatch" with its tab icon. A result stopped before the last
    /// quit (the settings file's "LASTTIME" and lap list) comes back stopped.
    static std::shared_ptr<StopWatchViewController> stopwatch();

    // Registered methods.
    /// `viewDidLoad`: builds the displays, the two buttons and the lap list.
    void viewDidLoad();
    /// `viewDidAppear:`: fits the lap list to the screen's final size.
    void viewDidAppear(bool animated);
    /// `_startTimer`: starts or resumes counting.
    void startTimer();
    /// `_stopTimer`: stops counting and stores the total as "LASTTIME".
    void stopTimer();
    /// `_lap`: ends the lap in progress and starts a new one.
    void lap();
    /// `_clearAllLaps`: back to zero; "LASTTIME" becomes 0.
    void clearAllLaps();
    /// `startStopButtonClicked:`: the Start/Stop button's action.
    void startStopButtonClicked(id sender);
    /// `lapResetButtonClicked:`: the Lap/Reset button's action.
    void lapResetButtonClicked(id sender);

    /// True while counting (`_isTimerRunning`).
    [[nodiscard]] bool isRunning() const;
    /// The finished laps in seconds, in order (`_laps`).
    [[nodiscard]] std::vector<double> laps() const;
    /// The total: finished laps plus the lap in progress.
    [[nodiscard]] double totalTime() const;
    /// The finished laps summed.
    [[nodiscard]] double finishedLapsTotal() const;
    /// The lap time view (`_laptimeView`).
    [[nodiscard]] std::shared_ptr<StopWatchLapTimeView> lapTimeView() const;
    /// The Start/Stop and Lap/Reset buttons; nil before the view is loaded.
    [[nodiscard]] std::shared_ptr<UIButton> startStopButton() const { return startStop_; }
    [[nodiscard]] std::shared_ptr<UIButton> lapResetButton() const { return lapReset_; }

  private:
    void restoreStoppedResult();
    void storeResult(double lastTime);
    void refreshDisplay();
    void rebuildLapRows();
    // The lap list ends where the screen does; its rows are rebuilt when that changes its height.
    void fitLapList();
    [[nodiscard]] std::shared_ptr<NSMutableArray> lapArray() const;

    std::shared_ptr<UILabel> timeLabel_;
    std::shared_ptr<UIButton> startStop_;
    std::shared_ptr<UIButton> lapReset_;
    std::shared_ptr<UIView> lapList_;
    std::uint64_t refreshObserver_ = 0;

    // The finished laps summed so far, and for which state of which array.
    struct FinishedLapsSum {
        std::weak_ptr<NSMutableArray> array;
        unsigned long mutations = 0;
        std::size_t count = 0;
        double seconds = 0;
    };
    mutable FinishedLapsSum finishedSum_;
};
