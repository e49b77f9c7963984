#include "platform/runtime/RuntimeFunctions.h"

#include "platform/runtime/InstanceVariable.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/ObjcClass.h"
#include "platform/runtime/Runtime.h"

#include <memory>
#include <string_view>

Class objc_getClass(const char* name) {
    return name == nullptr ? nullptr : rt::Runtime::current().getClass(name);
}

bool class_addMethod(Class cls, SEL sel, IMP imp, const char* types) {
    if (cls == nullptr || !sel || cls->ownMethod(sel) != nullptr) {
        return false;
    }
    cls->methods[sel] = std::make_unique<objc_method>(objc_method{sel, std::move(imp), types ? types : ""});
    return true;
}

IMP class_replaceMethod(Class cls, SEL sel, IMP imp, const char* types) {
    if (cls == nullptr || !sel) {
        return nullptr;
    }
    if (Method own = cls->ownMethod(sel)) {
        return method_setImplementation(own, std::move(imp));
    }
    class_addMethod(cls, sel, std::move(imp), types);
    return nullptr;
}

Class object_getClass(const NSObject* object) {
    return object == nullptr ? nullptr : object->isa();
}

Class object_getClass(const id& object) {
    return object_getClass(object.get());
}

Ivar class_getInstanceVariable(Class cls, const char* name) {
    return cls == nullptr || name == nullptr ? nullptr : cls->lookupIvar(name);
}

std::ptrdiff_t ivar_getOffset(Ivar ivar) {
    return ivar == nullptr ? 0 : ivar->offset;
}

const char* ivar_getName(Ivar ivar) {
    return ivar == nullptr ? nullptr : ivar->name.c_str();
}

const char* ivar_getTypeEncoding(Ivar ivar) {
    return ivar == nullptr ? nullptr : ivar->type.c_str();
}

Method class_getInstanceMethod(Class cls, SEL sel) {
    return cls == nullptr ? nullptr : cls->lookupMethod(sel);
}

IMP method_getImplementation(Method method) {
    return method == nullptr ? nullptr : method->imp;
}

IMP method_setImplementation(Method method, IMP imp) {
    if (method == nullptr) {
        return nullptr;
    }
    IMP previous = std::move(method->imp);
    method->imp = std::move(imp);
    return previous;
}

const char* method_getTypeEncoding(Method method) {
    return method == nullptr ? nullptr : method->types.c_str();
}

IMP class_getMethodImplementation(Class cls, SEL sel) {
    return method_getImplementation(class_getInstanceMethod(cls, sel));
}

bool class_respondsToSelector(Class cls, SEL sel) {
    return class_getInstanceMethod(cls, sel) != nullptr;
}

Class class_getSuperclass(Class cls) {
    return cls == nullptr ? nullptr : cls->superclass;
}

const char* class_getName(Class cls) {
    return cls == nullptr ? "nil" : cls->name.c_str();
}

namespace {
// True when the variable belongs to the object's class chain, so its offset lies inside the
// object's block; a variable of another class would read someone else's memory.
bool holds(const id& object, Ivar ivar) {
    return object && ivar != nullptr && object->isa() != nullptr && object->ivarBase() != nullptr &&
           object->isa()->lookupIvar(ivar->name) == ivar;
}

bool isOneByteFlag(std::string_view type) {
    return type == "c" || type == "C" || type == "B";
}

bool sameKind(std::string_view declared, std::string_view wanted) {
    return declared == wanted || (isOneByteFlag(declared) && isOneByteFlag(wanted));
}

// The one place that turns a variable into an address: its offset in the object's block, after
// checking that the object holds it and that it has the kind the caller will read.
std::byte* storageOf(const id& object, Ivar ivar, std::string_view type) {
    if (!holds(object, ivar) || !sameKind(ivar->type, type)) {
        return nullptr;
    }
    return object->ivarBase() + ivar_getOffset(ivar);
}
} // namespace

namespace rt {
std::byte* ivarStorage(const id& object, const char* name, const char* type) {
    return storageOf(object, class_getInstanceVariable(object_getClass(object), name), type);
}
} // namespace rt

id object_getIvar(const id& object, Ivar ivar) {
    const std::byte* storage = storageOf(object, ivar, "@");
    return storage == nullptr ? nullptr : *reinterpret_cast<const id*>(storage);
}

void object_setIvar(const id& object, Ivar ivar, id value) {
    if (std::byte* storage = storageOf(object, ivar, "@")) {
        *reinterpret_cast<id*>(storage) = std::move(value);
    }
}
