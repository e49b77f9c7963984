#pragma once
// The root class. Every object the runtime can message derives from it and is made by
// rt::make, which attaches its class and lays out its instance-variable block.

#include "platform/runtime/Forward.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>

namespace rt {
/// The kinds of value a property list holds, as the value classes answer `valueKind`.
enum class ValueKind : std::uint8_t { Other, String, Number, Date, Data, Array, Dictionary };
} // namespace rt

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
    /// The start of the instance-variable block; ivar_getOffset values index into it. Nil for an
    /// object whose class declares no instance variables.
    [[nodiscard]] std::byte* ivarBase() const;
    /// Equality as `isEqual:` defines it; identity unless a class says otherwise.
    [[nodiscard]] virtual bool isEqual(const NSObject& other) const { return this == &other; }
    /// Text for people, as `description` gives it.
    [[nodiscard]] virtual std::string description() const;
    /// Which property-list value the object is (Other for everything else). The value classes
    /// answer it, and their subclasses inherit the answer, so code that tells values apart asks
    /// once instead of trying one cast after another; an object answering a value kind is an
    /// instance of that kind's class.
    [[nodiscard]] virtual rt::ValueKind valueKind() const;

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
    // Behind one pointer, so that the many objects without instance variables (every
    // property-list value) carry a single word for them.
    std::unique_ptr<rt::IvarBlock> ivars_;
};

namespace rt {
/// The object as a T, or nil when it is nil or of another kind.
template <class T>
std::shared_ptr<T> cast(const id& object) {
    // An object of exactly the class asked for (a number read from a file is an NSNumber) needs
    // no walk of the class hierarchy; a class reached through a virtual base cannot be cast to
    // statically and always takes the walk.
    if constexpr (requires(NSObject * base) { static_cast<T*>(base); }) {
        if (object) {
            const NSObject& target = *object;
            if (typeid(target) == typeid(T)) {
                return std::static_pointer_cast<T>(object);
            }
        }
    }
    return std::dynamic_pointer_cast<T>(object);
}
} // namespace rt
