#pragma once
// The platform's exceptions: a name such as NSInternalInconsistencyException and a reason.
// Nothing in the hosts or the add-on catches them; the simulator reports them and stops.

#include <stdexcept>
#include <string>

/// An exception raised by the platform, carrying the platform's name and message.
class NSException : public std::runtime_error {
  public:
    NSException(std::string name, std::string reason);
    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] const std::string& reason() const { return reason_; }

  private:
    std::string name_;
    std::string reason_;
};

inline constexpr const char* NSInternalInconsistencyException = "NSInternalInconsistencyException";
inline constexpr const char* NSInvalidArgumentException = "NSInvalidArgumentException";
inline constexpr const char* NSRangeException = "NSRangeException";
inline constexpr const char* NSDecimalNumberOverflowException = "NSDecimalNumberOverflowException";
/// Not an Objective-C exception on the phone but a crash; raised here so that tests and the
/// simulator see it instead of undefined behaviour.
inline constexpr const char* EXC_BAD_ACCESS = "EXC_BAD_ACCESS";
