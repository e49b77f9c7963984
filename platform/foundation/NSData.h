#pragma once
// An immutable block of bytes.

#include "platform/runtime/NSObject.h"

#include <cstdint>
#include <memory>
#include <vector>

/// Immutable bytes.
class NSData : public NSObject {
  public:
    static constexpr const char* kClassName = "NSData";
    using Super = NSObject;

    explicit NSData(std::vector<std::uint8_t> bytes = {}) : bytes_(std::move(bytes)) {}
    static std::shared_ptr<NSData> with(std::vector<std::uint8_t> bytes);

    [[nodiscard]] const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    [[nodiscard]] rt::ValueKind valueKind() const override { return rt::ValueKind::Data; }
    [[nodiscard]] bool isEqual(const NSObject& other) const override;

  private:
    std::vector<std::uint8_t> bytes_;
};
