#include "platform/runtime/ObjcClass.h"

Method objc_class::ownMethod(SEL sel) const {
    auto found = methods.find(sel);
    return found == methods.end() ? nullptr : found->second.get();
}

Method objc_class::lookupMethod(SEL sel) const {
    for (const objc_class* c = this; c != nullptr; c = c->superclass) {
        if (Method m = c->ownMethod(sel)) {
            return m;
        }
    }
    return nullptr;
}

Ivar objc_class::lookupIvar(std::string_view ivarName) const {
    for (const objc_class* c = this; c != nullptr; c = c->superclass) {
        for (const auto& ivar : c->ivars) {
            if (ivar->name == ivarName) {
                return ivar.get();
            }
        }
    }
    return nullptr;
}

bool objc_class::isSubclassOf(Class other) const {
    for (const objc_class* c = this; c != nullptr; c = c->superclass) {
        if (c == other) {
            return true;
        }
    }
    return false;
}
