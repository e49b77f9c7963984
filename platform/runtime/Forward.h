#pragma once
// Forward declarations of the object runtime, so headers that only name its types stay light.

#include <memory>

class NSObject;
struct objc_class;
struct objc_ivar;
struct objc_method;
class SEL;

/// An object reference that retains, as a strong `id` does on the phone.
using id = std::shared_ptr<NSObject>;
/// A reference that does not retain: delegates, data sources, targets, superviews.
using weak_id = std::weak_ptr<NSObject>;
using Class = objc_class*;
using Ivar = const objc_ivar*;
using Method = objc_method*;

namespace rt {
class Implementation;
class Runtime;
struct IvarBlock;
struct IvarLayout;
} // namespace rt

/// A method implementation: a shared, typed callable that also carries its signature.
using IMP = std::shared_ptr<const rt::Implementation>;
