#pragma once
// A locale by identifier ("en_US", "de_DE"), as date formatters take it.

#include "platform/runtime/NSObject.h"

#include <memory>
#include <string>

/// An immutable locale.
class NSLocale : public NSObject {
  public:
    static constexpr const char* kClassName = "NSLocale";
    using Super = NSObject;

    explicit NSLocale(std::string identifier) : identifier_(std::move(identifier)) {}
    /// `localeWithLocaleIdentifier:`.
    static std::shared_ptr<NSLocale> localeWithLocaleIdentifier(std::string identifier);
    /// `currentLocale`: the device's locale (ns::Region).
    static std::shared_ptr<NSLocale> currentLocale();

    [[nodiscard]] const std::string& localeIdentifier() const { return identifier_; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    [[nodiscard]] std::string description() const override { return identifier_; }

  private:
    std::string identifier_;
};
