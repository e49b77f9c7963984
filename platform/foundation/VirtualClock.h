#pragma once
// The device's one clock. Time is virtual: it moves only when the run loop is run to a later
// moment (or a test moves it), so nothing ever sleeps and every run is reproducible.

#include "platform/foundation/NSObjCRuntime.h"

namespace ns {

/// Seconds since the device started, advanced only on request.
class VirtualClock {
  public:
    explicit VirtualClock(NSTimeInterval start = 0) : now_(start) {}
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    /// The current moment.
    [[nodiscard]] NSTimeInterval now() const { return now_; }
    /// Moves the clock to `moment`; time never runs backwards, so an earlier moment is a fault.
    void advanceTo(NSTimeInterval moment);
    /// Moves the clock forward by `seconds` (not negative).
    void advanceBy(NSTimeInterval seconds) { advanceTo(now_ + seconds); }

  private:
    NSTimeInterval now_;
};

} // namespace ns
