#pragma once
// The Clock application keeps the state other code may read by name (the stopwatch's running
// flag, lap list and lap time view, the delegate's tab bar controller) in runtime instance
// variables. These helpers read and write them on an object of a host class.

#include "platform/runtime/NSObject.h"
#include "platform/runtime/RuntimeFunctions.h"

#include <memory>

namespace clk {

/// The object in the named variable of `self`; nil when unset.
template <class T = NSObject>
std::shared_ptr<T> ivarObject(const NSObject& self, const char* name) {
    auto me = std::const_pointer_cast<NSObject>(self.shared_from_this());
    return rt::cast<T>(object_getIvar(me, class_getInstanceVariable(self.isa(), name)));
}

/// Stores an object in the named variable of `self`.
inline void setIvarObject(NSObject& self, const char* name, id value) {
    object_setIvar(self.shared_from_this(), class_getInstanceVariable(self.isa(), name), std::move(value));
}

/// The named one-byte flag of `self`.
inline bool ivarFlag(const NSObject& self, const char* name) {
    Ivar ivar = class_getInstanceVariable(self.isa(), name);
    return ivar != nullptr &&
           *reinterpret_cast<const unsigned char*>(self.ivarBase() + ivar_getOffset(ivar)) != 0;
}

/// Sets the named one-byte flag of `self`.
inline void setIvarFlag(NSObject& self, const char* name, bool value) {
    if (Ivar ivar = class_getInstanceVariable(self.isa(), name)) {
        *reinterpret_cast<unsigned char*>(self.ivarBase() + ivar_getOffset(ivar)) = value ? 1 : 0;
    }
}

} // namespace clk
