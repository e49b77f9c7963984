#pragma once
// Typed references to instance variables by name. A class declares its variables with them, and
// code that reads another class's variable (a loaded library reading a host object) reads through
// them: the variable is looked up in the object's class table at every access, and its offset and
// type encoding come from the runtime, so nothing reads memory at an offset it computed itself.

#include "platform/runtime/NSObject.h"
#include "platform/runtime/TypeEncoding.h"

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

namespace rt {

/// The storage of the object's variable of that name, found through its class's variable table
/// now (`class_getInstanceVariable`, `ivar_getOffset`); null when the object is nil, its class
/// chain has no such variable, or the variable's encoding is not `type` (one-byte flags of
/// encodings "c", "C" and "B" are taken as one another, as BOOL varies between them).
std::byte* ivarStorage(const id& object, const char* name, const char* type);

template <class T>
struct IvarValue {
    using Stored = T;
    static T load(const std::byte* storage) { return *reinterpret_cast<const T*>(storage); }
    static void store(std::byte* storage, T value) { *reinterpret_cast<T*>(storage) = value; }
};

// Object variables hold a strong reference; reading one as a T gives nil for another kind.
template <class T>
struct IvarValue<std::shared_ptr<T>> {
    using Stored = id;
    static std::shared_ptr<T> load(const std::byte* storage) {
        return std::dynamic_pointer_cast<T>(*reinterpret_cast<const id*>(storage));
    }
    static void store(std::byte* storage, std::shared_ptr<T> value) {
        *reinterpret_cast<id*>(storage) = std::move(value);
    }
};

/// A named instance variable of type `T` (an object reference `std::shared_ptr<X>`, or a
/// scalar such as `bool`).
template <class T>
struct IvarRef {
    /// The variable's name, as the class declares it.
    const char* name;

    /// The encoding the variable is declared with.
    [[nodiscard]] static constexpr const char* types() {
        return ivarEncodingOf<typename IvarValue<T>::Stored>();
    }
    /// The value; a zero value (nil, false) when the object lacks the variable or it has another type.
    [[nodiscard]] T get(const id& object) const {
        const std::byte* storage = ivarStorage(object, name, types());
        return storage == nullptr ? T{} : IvarValue<T>::load(storage);
    }
    [[nodiscard]] T get(const NSObject& object) const {
        return get(std::const_pointer_cast<NSObject>(object.shared_from_this()));
    }
    /// Stores a value; does nothing when the object lacks the variable.
    void set(const id& object, T value) const {
        if (std::byte* storage = ivarStorage(object, name, types())) {
            IvarValue<T>::store(storage, std::move(value));
        }
    }
    void set(NSObject& object, T value) const { set(object.shared_from_this(), std::move(value)); }
};

} // namespace rt
