#pragma once
// A time zone by its Olson name ("Europe/Berlin"), as date formatters take it.

#include "platform/runtime/NSObject.h"

#include <memory>
#include <string>

/// An immutable time zone.
class NSTimeZone : public NSObject {
  public:
    static constexpr const char* kClassName = "NSTimeZone";
    using Super = NSObject;

    explicit NSTimeZone(std::string name) : name_(std::move(name)) {}
    /// `timeZoneWithName:`: nil for a name the time zone database does not know.
    static std::shared_ptr<NSTimeZone> timeZoneWithName(const std::string& name);
    /// `defaultTimeZone`: the device's time zone (ns::Region).
    static std::shared_ptr<NSTimeZone> defaultTimeZone();
    /// `systemTimeZone`: the same as defaultTimeZone here, as nothing sets a default apart.
    static std::shared_ptr<NSTimeZone> systemTimeZone() { return defaultTimeZone(); }

    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    [[nodiscard]] std::string description() const override { return name_; }

  private:
    std::string name_;
};
