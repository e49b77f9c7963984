#pragma once
// An immutable string value, as the property-list codec and the hosts hand it around.

#include "platform/foundation/StringFormat.h"
#include "platform/runtime/NSObject.h"

#include <memory>
#include <string>

/// An immutable UTF-8 string.
class NSString : public NSObject {
  public:
    static constexpr const char* kClassName = "NSString";
    using Super = NSObject;

    explicit NSString(std::string value = {}) : value_(std::move(value)) {}
    /// Makes a string object.
    static std::shared_ptr<NSString> with(std::string value);
    /// `stringWithFormat:`: the format is checked at compile time and must be written in the
    /// code (see ns::format); "%@" takes an object or a string.
    template <class... A>
    static std::shared_ptr<NSString> stringWithFormat(ns::FormatString<std::type_identity_t<A>...> fmt,
                                                      const A&... args) {
        return with(ns::format(fmt, args...));
    }

    [[nodiscard]] const std::string& str() const { return value_; }
    [[nodiscard]] rt::ValueKind valueKind() const override { return rt::ValueKind::String; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;
    [[nodiscard]] std::string description() const override { return value_; }
    /// `floatValue`, `doubleValue`, `intValue`: the platform's scanner rules (leading blanks
    /// skipped, reading stops at the first character that does not fit, no number gives 0).
    [[nodiscard]] float floatValue() const;
    [[nodiscard]] double doubleValue() const;
    [[nodiscard]] int intValue() const;

  private:
    std::string value_;
};
