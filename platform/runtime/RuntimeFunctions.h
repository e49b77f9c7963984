#pragma once
// The runtime's C functions, under the platform's names.

#include "platform/runtime/Forward.h"
#include "platform/runtime/Selector.h"

#include <cstddef>

/// The class of that name in the current process, or nil.
Class objc_getClass(const char* name);
/// Adds a method; refuses (false) when the class itself already has the selector or is nil.
/// A superclass's method does not count: adding then creates an override.
bool class_addMethod(Class cls, SEL sel, IMP imp, const char* types);
/// Replaces the class's own implementation and returns the old one; when the class itself lacks
/// the method it is added and nil is returned, even if a superclass implements it.
IMP class_replaceMethod(Class cls, SEL sel, IMP imp, const char* types);
/// The object's class; Nil for nil.
Class object_getClass(const NSObject* object);
Class object_getClass(const id& object);
/// The variable of that name in the class or its superclasses; NULL if absent.
Ivar class_getInstanceVariable(Class cls, const char* name);
/// Byte offset of the variable from the start of the object's variable block.
std::ptrdiff_t ivar_getOffset(Ivar ivar);
const char* ivar_getName(Ivar ivar);
const char* ivar_getTypeEncoding(Ivar ivar);
/// The method a message to an instance would run: own, else inherited; NULL if none.
Method class_getInstanceMethod(Class cls, SEL sel);
IMP method_getImplementation(Method method);
/// Sets a method's implementation and returns the previous one.
IMP method_setImplementation(Method method, IMP imp);
const char* method_getTypeEncoding(Method method);
/// The implementation a message to an instance would run, or nil when none.
IMP class_getMethodImplementation(Class cls, SEL sel);
bool class_respondsToSelector(Class cls, SEL sel);
Class class_getSuperclass(Class cls);
const char* class_getName(Class cls);
/// Reads an object-typed variable; nil when the variable is not an object variable.
id object_getIvar(const id& object, Ivar ivar);
/// Writes an object-typed variable (retaining the new value).
void object_setIvar(const id& object, Ivar ivar, id value);
