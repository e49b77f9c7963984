#include "platform/foundation/PerformSelector.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/RuntimeFunctions.h"

#include <cctype>
#include <cstring>
#include <string>

namespace ns {
namespace {

// Skips one type in an encoding and the frame offset digits after it; false at the end.
bool skipType(const char*& p) {
    while (*p != '\0' && std::strchr("rnNoORV", *p) != nullptr) {
        ++p;
    }
    if (*p == '\0') {
        return false;
    }
    if (*p == '^') {
        ++p;
        skipType(p);
    } else if (*p == '{' || *p == '[' || *p == '(') {
        char open = *p;
        char close = open == '{' ? '}' : open == '[' ? ']' : ')';
        int depth = 0;
        do {
            if (*p == open) {
                ++depth;
            } else if (*p == close) {
                --depth;
            }
            ++p;
        } while (*p != '\0' && depth > 0);
    } else {
        ++p;
    }
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        ++p;
    }
    return true;
}

} // namespace

MethodShape methodShape(const char* types) {
    MethodShape shape;
    if (types == nullptr || *types == '\0') {
        return shape;
    }
    const char* p = types;
    while (*p != '\0' && std::strchr("rnNoORV", *p) != nullptr) {
        ++p;
    }
    shape.returnsVoid = *p == 'v';
    shape.returnsObject = *p == '@';
    int count = 0;
    while (skipType(p)) {
        ++count;
    }
    // The return type, self and _cmd come before the arguments.
    shape.arguments = count >= 3 ? count - 3 : -1;
    return shape;
}

} // namespace ns

namespace {

id performWithObjects(const id& target, SEL selector, const id& first, const id& second) {
    if (!target) {
        return nullptr;
    }
    Method method = class_getInstanceMethod(object_getClass(target), selector);
    if (method == nullptr) {
        rt::unrecognizedSelector(target, selector);
    }
    ns::MethodShape shape = ns::methodShape(method_getTypeEncoding(method));
    if (!shape.returnsVoid && !shape.returnsObject) {
        throw NSException(NSInvalidArgumentException,
                          "-[" + std::string(class_getName(object_getClass(target))) + " " + selector.name() +
                              "]: performSelector: needs a method returning void or an object, not " +
                              method_getTypeEncoding(method));
    }
    switch (shape.arguments) {
    case 0:
        if (shape.returnsObject) {
            return rt::sendNamed<id()>(target, selector);
        }
        rt::sendNamed<void()>(target, selector);
        return nullptr;
    case 1:
        if (shape.returnsObject) {
            return rt::sendNamed<id(id)>(target, selector, first);
        }
        rt::sendNamed<void(id)>(target, selector, first);
        return nullptr;
    case 2:
        if (shape.returnsObject) {
            return rt::sendNamed<id(id, id)>(target, selector, first, second);
        }
        rt::sendNamed<void(id, id)>(target, selector, first, second);
        return nullptr;
    default:
        throw NSException(NSInvalidArgumentException,
                          "-[" + std::string(class_getName(object_getClass(target))) + " " + selector.name() +
                              "]: performSelector: cannot call a method of type " +
                              method_getTypeEncoding(method));
    }
}

} // namespace

id performSelectorWithObject(const id& target, SEL selector, const id& object) {
    return performWithObjects(target, selector, object, nullptr);
}

id performSelectorWithObjectWithObject(const id& target, SEL selector, const id& first, const id& second) {
    return performWithObjects(target, selector, first, second);
}

void performSelectorWithObjectAfterDelay(const id& target, SEL selector, const id& object,
                                         NSTimeInterval delay) {
    if (!target) {
        return;
    }
    NSRunLoop::currentRunLoop().scheduleMessage(target, selector, object, delay);
}

void cancelPreviousPerformRequestsWithTarget(const id& target) {
    NSRunLoop::currentRunLoop().cancelMessages(target);
}

void cancelPreviousPerformRequestsWithTargetSelectorObject(const id& target, SEL selector, const id& object) {
    NSRunLoop::currentRunLoop().cancelMessages(target, selector, object);
}
