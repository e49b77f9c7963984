#pragma once
// Reading a host object's instance variable by name, the way a loaded library must: through the
// runtime's variable table, anew at every read, since the add-on has no host headers. A variable
// the class lacks reads as absent (nil or false), and so does a value of another kind than the one
// expected.

#include "platform/runtime/NSObject.h"

#include <memory>

namespace lv {

/// The object stored in the named variable; nil when the class lacks it or it holds no object.
id hostObjectIvar(const id& object, const char* name);

/// The named variable as an object of kind T; nil when absent or of another kind.
template <class T>
std::shared_ptr<T> hostIvar(const id& object, const char* name) {
    return rt::cast<T>(hostObjectIvar(object, name));
}

/// The named one-byte flag; false when the class lacks it or it is not a one-byte variable.
bool hostFlagIvar(const id& object, const char* name);

} // namespace lv
