#pragma once
// The hooking framework's message hook.

#include "platform/runtime/Forward.h"
#include "platform/runtime/Selector.h"

/// Makes `replacement` the class's implementation of `sel` and stores the replaced one in
/// `*result` before the replacement can be reached. For a selector the class only inherits, an
/// override is added to the class alone and `*result` receives a trampoline that calls the
/// superclass's current implementation. A nil class, selector or replacement, or a selector no
/// class in the hierarchy implements, changes nothing and leaves `*result` untouched.
void MSHookMessageEx(Class cls, SEL sel, IMP replacement, IMP* result);
