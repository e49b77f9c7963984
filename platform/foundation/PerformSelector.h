#pragma once
// NSObject's perform family, as free functions taking the receiver first. The method is found by
// selector through the runtime and called with as many object arguments as its type encoding
// declares ("v@:" takes none, "v@:@" the object, "v@:@@" the object and nil), as the phone calls
// an action or delayed method whatever its arity.

#include "platform/foundation/NSObjCRuntime.h"
#include "platform/runtime/Forward.h"
#include "platform/runtime/Selector.h"

/// `performSelector:withObject:`: sends at once; returns the method's object result (nil for a
/// void method). An unknown selector raises NSInvalidArgumentException as on the phone.
id performSelectorWithObject(const id& target, SEL selector, const id& object);
/// `performSelector:withObject:withObject:`.
id performSelectorWithObjectWithObject(const id& target, SEL selector, const id& first, const id& second);
/// `performSelector:withObject:afterDelay:` on the current run loop; never runs inline. The
/// target and the object are kept alive until delivery.
void performSelectorWithObjectAfterDelay(const id& target, SEL selector, const id& object,
                                         NSTimeInterval delay);
/// `cancelPreviousPerformRequestsWithTarget:`.
void cancelPreviousPerformRequestsWithTarget(const id& target);
/// `cancelPreviousPerformRequestsWithTarget:selector:object:` (object compared with isEqual:).
void cancelPreviousPerformRequestsWithTargetSelectorObject(const id& target, SEL selector, const id& object);

namespace ns {
/// The number of arguments after self and _cmd that an Objective-C type encoding declares, and
/// what it returns; `arguments` is -1 when the encoding cannot be read.
struct MethodShape {
    int arguments = -1;
    bool returnsObject = false;
    bool returnsVoid = false;
};
/// Reads a type encoding such as "v@:@" or "v12@0:4@8".
MethodShape methodShape(const char* types);
} // namespace ns
