#pragma once
// Where "now" comes from for dates. By default the real time; the simulated device replaces it
// with its own wall clock so that saved dates follow the device, and tests fix it.

#include <functional>

namespace ns {

/// The source of the current date.
class WallClock {
  public:
    using Source = std::function<double()>;

    /// The wall clock in force: the innermost Scope's, else the real time.
    static WallClock& current();

    explicit WallClock(Source unixSeconds) : source_(std::move(unixSeconds)) {}
    /// Seconds since the Unix epoch, fractions included.
    [[nodiscard]] double unixSeconds() const { return source_(); }

    /// Puts a wall clock in force for its lifetime.
    class Scope {
      public:
        explicit Scope(WallClock& clock);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        WallClock* previous_;
    };

  private:
    Source source_;
};

} // namespace ns
