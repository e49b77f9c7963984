#pragma once
// The root class. Every object the runtime can message derives from it and is made by
// rt::make, which attaches its class and lays out its instance-variable block.

#include "platform/runtime/Forward.h"

#include <cstddef>
#include <memory>
#include <string>

/// The root of every object the runtime can message.
class NSObject : public std::enable_shared_from_this<NSObject> {
  public:
    static constexpr const char* kClassName = "NSObject";
    using Super = void;

    NSObject();
    virtual ~NSObject();
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;

    /// The object's class (its isa), nil before rt::make attached one.
    [[nodiscard]] Class isa() const { return isa_; }
    /// The start of the instance-variable block; ivar_getOffset values index into it.
    [[nodiscard]] std::byte* ivarBase() const { return ivars_.get(); }
    /// Equality as `isEqual:` defines it; identity unless a class says otherwise.
    [[nodiscard]] virtual bool isEqual(const NSObject& other) const { return this == &other; }
    /// Text for people, as `description` gives it.
    [[nodiscard]] virtual std::string description() const;

    /// This object as a strong reference of its own type.
    template <class T = NSObject>
    [[nodiscard]] std::shared_ptr<T> self() {
        return std::dynamic_pointer_cast<T>(shared_from_this());
    }
    template <class T = NSObject>
    [[nodiscard]] std::shared_ptr<const T> self() const {
        return std::dynamic_pointer_cast<const T>(shared_from_this());
    }

  private:
    friend class rt::Runtime;
    Class isa_ = nullptr;
    std::unique_ptr<std::byte[]> ivars_;
    std::shared_ptr<const rt::IvarLayout> layout_;
};

namespace rt {
/// The object as a T, or nil when it is nil or of another kind.
template <class T>
std::shared_ptr<T> cast(const id& object) {
    return std::dynamic_pointer_cast<T>(object);
}
} // namespace rt
