#include "platform/runtime/Runtime.h"

#include "platform/runtime/NSException.h"

#include <atomic>
#include <cxxabi.h>

namespace rt {
namespace {

Runtime*& scopedRuntime() {
    static Runtime* current = nullptr;
    return current;
}

struct TypeLayout {
    std::size_t size;
    std::size_t align;
};

// Sizes and alignments of the type encodings that instance variables use here (a 64-bit
// layout; `@` is the size of a strong reference).
TypeLayout layoutOf(const std::string& type, const std::string& className, const std::string& ivarName) {
    if (type == "@") {
        return {sizeof(id), alignof(id)};
    }
    if (type == "c" || type == "C" || type == "B") {
        return {1, 1};
    }
    if (type == "s" || type == "S") {
        return {2, 2};
    }
    if (type == "i" || type == "I" || type == "f") {
        return {4, 4};
    }
    if (type == "d" || type == "q" || type == "Q" || type == "l" || type == "L") {
        return {8, 8};
    }
    throw NSException(NSInvalidArgumentException, "class " + className + ": instance variable " + ivarName +
                                                      " has unsupported type " + type);
}

std::string demangle(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, decltype(&std::free)> text(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), &std::free);
    return status == 0 && text ? std::string(text.get()) : std::string(type.name());
}

std::string classNameOf(const id& self) {
    return self && self->isa() ? self->isa()->name : std::string("nil");
}

std::uint64_t nextSerial() {
    static std::atomic<std::uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

Runtime::Runtime() : serial_(nextSerial()) {}
Runtime::~Runtime() = default;

Runtime& Runtime::current() {
    if (Runtime* scoped = scopedRuntime()) {
        return *scoped;
    }
    static Runtime processDefault;
    return processDefault;
}

Runtime::Scope::Scope(Runtime& runtime) : previous_(scopedRuntime()) {
    scopedRuntime() = &runtime;
}

Runtime::Scope::~Scope() {
    scopedRuntime() = previous_;
}

Class Runtime::getClass(std::string_view name) const {
    auto found = classes_.find(name);
    return found == classes_.end() ? nullptr : found->second.get();
}

Class Runtime::registerClass(const ClassBuilder& builder) {
    if (getClass(builder.name()) != nullptr) {
        throw NSException(NSInternalInconsistencyException,
                          "class " + builder.name() + " is already registered");
    }
    auto cls = std::make_unique<objc_class>();
    cls->name = builder.name();
    cls->superclass = builder.superclass();

    // The first word of every object is its isa, so variables start after it, as on the phone.
    auto layout = std::make_shared<IvarLayout>();
    layout->size = sizeof(void*);
    if (cls->superclass != nullptr) {
        *layout = *cls->superclass->layout;
    }
    for (const auto& declared : builder.ivars()) {
        if (cls->lookupIvar(declared.name) != nullptr ||
            (cls->superclass != nullptr && cls->superclass->lookupIvar(declared.name) != nullptr)) {
            throw NSException(NSInternalInconsistencyException, "class " + cls->name +
                                                                    " declares instance variable " +
                                                                    declared.name + " twice");
        }
        TypeLayout t = layoutOf(declared.type, cls->name, declared.name);
        std::size_t offset = (layout->size + t.align - 1) / t.align * t.align;
        cls->ivars.push_back(
            std::make_unique<objc_ivar>(objc_ivar{declared.name, declared.type, std::ptrdiff_t(offset)}));
        if (declared.type == "@") {
            layout->objectOffsets.push_back(std::ptrdiff_t(offset));
        }
        layout->size = offset + t.size;
    }
    cls->layout = std::move(layout);
    for (const auto& declared : builder.methods()) {
        SEL sel = sel_registerName(declared.selector);
        cls->methods[sel] = std::make_unique<objc_method>(objc_method{sel, declared.imp, declared.types});
    }
    Class raw = cls.get();
    classes_.emplace(cls->name, std::move(cls));
    return raw;
}

void Runtime::attach(NSObject& object, Class cls) {
    object.isa_ = cls;
    // A class without instance variables needs no block: its objects answer nothing to an
    // instance-variable lookup (ivarBase() is nil), as they would with an empty block.
    if (cls->layout->size > sizeof(void*)) {
        object.ivars_ = std::make_unique<IvarBlock>(cls->layout);
    }
}

void signatureFault(const id& self, SEL sel, const IMP& imp, const std::type_info& expected) {
    std::string where = "-[" + classNameOf(self) + " " + sel.name() + "]";
    if (!imp) {
        throw NSException(EXC_BAD_ACCESS, where + ": called an empty method implementation");
    }
    throw NSException(NSInvalidArgumentException, where + ": implementation has signature " +
                                                      demangle(imp->signature()) + " but was called as " +
                                                      demangle(expected));
}

void wrongReceiverFault(const id& self, SEL sel, const char* expectedClass) {
    throw NSException(NSInvalidArgumentException, "-[" + classNameOf(self) + " " + sel.name() +
                                                      "]: method of " + expectedClass +
                                                      " sent to an object of another kind");
}

} // namespace rt
