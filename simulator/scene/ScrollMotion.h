#pragma once
// A table scrolled by hand, on one axis: while the finger is down the content follows it, with a
// rubber band past either end; after release it coasts, slowing at the platform's normal
// deceleration rate, and springs back when it runs past an end. Times are in milliseconds,
// offsets in points, velocities in points per millisecond of offset change.
//
// The constants:
// - kDecelerationPerMs = 0.998: the scroll view's normal deceleration rate
//   (UIScrollViewDecelerationRateNormal; the fast one is 0.99): the velocity is multiplied by it
//   every millisecond, so a flick coasts about 500 ms times its speed.
// - kRubberBand = 0.55: how stiff the band is past an end, as the shown overshoot
//   (1 - 1 / (x * 0.55 / d + 1)) * d of a finger x points past the end of a view d points high,
//   which never reaches d. The platform documents the band but not its curve; this is the
//   common fit of its feel.
// - kSpringPerMs = 0.012: the spring back from past an end, critically damped (no second
//   overshoot); it settles in about 400 ms. Ours, chosen to look like the platform's.
// - kRestSpeed = 0.01: below 10 points a second inside the ends the content rests, on a half
//   point (a pixel of the phone's screen).

namespace sim {

/// One axis of a scrolled table's content offset.
class ScrollMotion {
  public:
    static constexpr double kDecelerationPerMs = 0.998;
    static constexpr double kRubberBand = 0.55;
    static constexpr double kSpringPerMs = 0.012;
    static constexpr double kRestSpeed = 0.01;

    /// The offset may rest between `least` and `most` (most >= least); `dimension` is the
    /// view's height, the band's measure.
    ScrollMotion(double least, double most, double dimension);

    /// The offset shown for an offset the finger asks for: itself between the ends, pulled
    /// back by the rubber band beyond them.
    [[nodiscard]] double banded(double wanted) const;

    /// The finger lifts with the content at `offset` moving at `velocity`.
    void release(double offset, double velocity);
    /// Moves the coasting content on by `ms`; returns its offset.
    double advance(double ms);
    /// The offset now.
    [[nodiscard]] double offset() const { return offset_; }
    /// True once the content has come to rest (inside the ends, on a half point).
    [[nodiscard]] bool resting() const { return resting_; }

  private:
    void step();

    double least_;
    double most_;
    double dimension_;
    double offset_ = 0;
    double velocity_ = 0;
    bool resting_ = true;
};

} // namespace sim
