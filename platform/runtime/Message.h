#pragma once
// Typed messages. A message names a selector and the signature its implementations have, so a
// send is checked against the implementation that the class (or a hook) provides.

#include "platform/runtime/Implementation.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/ObjcClass.h"
#include "platform/runtime/RuntimeFunctions.h"
#include "platform/runtime/Selector.h"
#include "platform/runtime/TypeEncoding.h"

#include <string_view>
#include <utility>

namespace rt {

/// A selector together with the signature of its implementations. Declared once per layer that
/// sends or implements it; registrations, sends, hooks and added methods all take it, so the
/// selector's text and its type encoding are written in one place.
template <class Sig>
struct Msg {
    using Signature = Sig;
    std::string_view name;
    [[nodiscard]] SEL sel() const { return sel_registerName(name); }
    /// The type encoding that follows from the signature, such as "v@:c".
    [[nodiscard]] static constexpr const char* types() { return encodingOf<Sig>(); }
};

/// Raises NSInvalidArgumentException for a selector the receiver's class does not implement.
[[noreturn]] void unrecognizedSelector(const id& receiver, SEL sel);
/// Writes a trace line for a send when tracing is on.
void traceSend(const id& receiver, SEL sel);

/// Sends a message: looks the selector up from the receiver's class through its superclasses
/// and runs what it finds. A message to nil does nothing and returns a zero value.
template <class R, class... A, class... P>
R send(const id& receiver, const Msg<R(A...)>& message, P&&... args) {
    if (!receiver) {
        if constexpr (std::is_void_v<R>) {
            return;
        } else {
            return R{};
        }
    }
    SEL sel = message.sel();
    Class cls = receiver->isa();
    Method method = cls ? cls->lookupMethod(sel) : nullptr;
    if (method == nullptr) {
        unrecognizedSelector(receiver, sel);
    }
    traceSend(receiver, sel);
    return callImp<R(A...)>(method->imp, receiver, sel, std::forward<P>(args)...);
}

/// Sends a message named at run time (a target-action pair, a delayed message): `Sig` is the
/// signature the sender calls it with.
template <class Sig, class... P>
decltype(auto) sendNamed(const id& receiver, SEL sel, P&&... args) {
    return send(receiver, Msg<Sig>{sel.name()}, std::forward<P>(args)...);
}

/// Calls a stored implementation (a replaced method kept in a slot) as `message`'s signature.
template <class R, class... A, class... P>
R callImp(const Msg<R(A...)>& /*message*/, const IMP& imp, const id& self, SEL sel, P&&... args) {
    return callImp<R(A...)>(imp, self, sel, std::forward<P>(args)...);
}

/// Adds a method for `message` to a class, with the encoding its signature gives
/// (`class_addMethod`); false when the class is nil or already has the selector itself.
template <class Sig, class F>
bool addMethod(Class cls, const Msg<Sig>& message, F&& fn) {
    return class_addMethod(cls, message.sel(), imp<Sig>(std::forward<F>(fn)), Msg<Sig>::types());
}

/// True when the receiver's class or a superclass implements the selector (`respondsToSelector:`).
bool respondsToSelector(const id& receiver, SEL sel);

} // namespace rt
