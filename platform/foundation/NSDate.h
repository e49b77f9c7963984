#pragma once
// A moment in time, as seconds since the platform's reference date, 2001-01-01 00:00:00 UTC.

#include "platform/runtime/NSObject.h"

#include <memory>

/// An immutable date.
class NSDate : public NSObject {
  public:
    static constexpr const char* kClassName = "NSDate";
    using Super = NSObject;

    /// Seconds between the Unix epoch and the reference date.
    static constexpr double kReferenceDateUnixSeconds = 978307200.0;

    explicit NSDate(double secondsSinceReferenceDate = 0) : seconds_(secondsSinceReferenceDate) {}
    static std::shared_ptr<NSDate> withTimeIntervalSinceReferenceDate(double seconds);
    static std::shared_ptr<NSDate> withTimeIntervalSince1970(double seconds);
    /// The device's current date: its wall clock, which the simulated device may set.
    static std::shared_ptr<NSDate> date();

    [[nodiscard]] double timeIntervalSinceReferenceDate() const { return seconds_; }
    [[nodiscard]] double timeIntervalSince1970() const { return seconds_ + kReferenceDateUnixSeconds; }
    [[nodiscard]] rt::ValueKind valueKind() const override { return rt::ValueKind::Date; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;

  private:
    double seconds_;
};
