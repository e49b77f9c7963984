#pragma once
// The hooking framework's message hook.

#include "platform/runtime/Forward.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/Selector.h"

#include <utility>

/// Makes `replacement` the class's implementation of `sel` and stores the replaced one in
/// `*result` before the replacement can be reached. For a selector the class only inherits, an
/// override is added to the class alone and `*result` receives a trampoline that calls the
/// superclass's current implementation. A nil class, selector or replacement, or a selector no
/// class in the hierarchy implements, changes nothing and leaves `*result` untouched.
void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result);

/// The hook for a typed message: the replacement is made with the message's signature, so it
/// matches what the senders call.
template <class Sig, class F>
void MSHookMessageEx(Class cls, const rt::Msg<Sig>& message, F&& replacement, IMP* result) {
    MSHookMessageEx(cls, message.sel(), rt::imp<Sig>(std::forward<F>(replacement)), result);
}
