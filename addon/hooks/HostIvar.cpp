#include "addon/hooks/HostIvar.h"

#include "platform/runtime/RuntimeFunctions.h"

#include <string_view>

namespace lv {
namespace {
// The variable of that name in the object's class as it is at this moment.
Ivar lookup(const id& object, const char* name) {
    return object ? class_getInstanceVariable(object_getClass(object), name) : nullptr;
}
} // namespace

id hostObjectIvar(const id& object, const char* name) {
    Ivar ivar = lookup(object, name);
    if (ivar == nullptr || std::string_view(ivar_getTypeEncoding(ivar)) != "@") {
        return nullptr;
    }
    return *reinterpret_cast<const id*>(object->ivarBase() + ivar_getOffset(ivar));
}

bool hostFlagIvar(const id& object, const char* name) {
    Ivar ivar = lookup(object, name);
    if (ivar == nullptr) {
        return false;
    }
    std::string_view type = ivar_getTypeEncoding(ivar);
    if (type != "c" && type != "C" && type != "B") {
        return false;
    }
    return *reinterpret_cast<const unsigned char*>(object->ivarBase() + ivar_getOffset(ivar)) != 0;
}

} // namespace lv
