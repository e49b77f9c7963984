#include "platform/substrate/MSHookMessageEx.h"

#include "platform/runtime/Implementation.h"
#include "platform/runtime/ObjcClass.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/runtime/Trace.h"

#include <utility>

namespace {

// Stands for whatever the superclass implements for the selector at the moment of the call: the
// framework's trampoline. A call through it reaches the superclass's current implementation,
// including a hook installed there later.
class Trampoline final : public rt::Implementation {
  public:
    Trampoline(Class superclass, SEL sel, const std::type_info& signature)
        : superclass_(superclass), sel_(sel), signature_(signature) {}
    [[nodiscard]] const std::type_info& signature() const override { return signature_; }
    [[nodiscard]] IMP forwardTarget() const override {
        return class_getMethodImplementation(superclass_, sel_);
    }

  private:
    Class superclass_;
    SEL sel_;
    const std::type_info& signature_;
};

void traceHook(Class cls, SEL sel, const char* how) {
    if (rt::trace::enabled(rt::trace::Channel::Hooks)) {
        rt::trace::log(rt::trace::Channel::Hooks,
                       std::string(how) + " -[" + class_getName(cls) + " " + sel.name() + "]");
    }
}

} // namespace

void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result) {
    if (cls == nullptr || !sel || !replacement) {
        traceHook(cls, sel, "refused (nil argument)");
        return;
    }
    if (Method own = cls->ownMethod(sel)) {
        if (result != nullptr) {
            *result = own->imp;
        }
        method_setImplementation(own, std::move(replacement));
        traceHook(cls, sel, "replaced");
        return;
    }
    Method inherited = class_getInstanceMethod(cls, sel);
    if (inherited == nullptr || !inherited->imp) {
        traceHook(cls, sel, "refused (no such method)");
        return;
    }
    if (result != nullptr) {
        *result = std::make_shared<const Trampoline>(cls->superclass, sel, inherited->imp->signature());
    }
    class_addMethod(cls, sel, std::move(replacement), inherited->types.c_str());
    traceHook(cls, sel, "overrode inherited");
}
