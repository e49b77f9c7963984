#pragma once
// Method implementations. Each carries its signature, so calling one with the wrong argument or
// result types is a loud fault that names the class and the selector instead of undefined
// behaviour.

#include "platform/runtime/Forward.h"
#include "platform/runtime/Selector.h"

#include <functional>
#include <typeinfo>
#include <utility>

namespace rt {

/// The type-erased base of every method implementation.
class Implementation {
  public:
    virtual ~Implementation() = default;
    /// The C++ signature the implementation was made with, as `R(A...)`.
    [[nodiscard]] virtual const std::type_info& signature() const = 0;
    /// For an implementation that only forwards (a hooking trampoline), the implementation it
    /// forwards to at this moment; nil for one that runs code of its own.
    [[nodiscard]] virtual IMP forwardTarget() const { return nullptr; }
};

template <class Sig>
class TypedImplementation;

/// An implementation with the signature `R(A...)`: it receives the receiver and the selector
/// first, as an Objective-C method does.
template <class R, class... A>
class TypedImplementation<R(A...)> final : public Implementation {
  public:
    using Function = std::function<R(const id&, SEL, A...)>;
    explicit TypedImplementation(Function fn) : fn_(std::move(fn)) {}
    [[nodiscard]] const std::type_info& signature() const override { return typeid(R(A...)); }
    R operator()(const id& self, SEL sel, A... args) const {
        return fn_(self, sel, std::forward<A>(args)...);
    }

  private:
    Function fn_;
};

/// Makes an implementation of signature `Sig` from a callable taking (self, _cmd, args...).
template <class Sig, class F>
IMP imp(F&& fn) {
    return std::make_shared<const TypedImplementation<Sig>>(
        typename TypedImplementation<Sig>::Function(std::forward<F>(fn)));
}

/// Raises the fault for calling an empty slot or an implementation of another signature.
[[noreturn]] void signatureFault(const id& self, SEL sel, const IMP& imp, const std::type_info& expected);

/// Calls an implementation with the signature `Sig`; an empty one is a crash on the phone and a
/// fault here.
template <class Sig>
struct Invoke;

template <class R, class... A>
struct Invoke<R(A...)> {
    template <class... P>
    static R call(const IMP& imp, const id& self, SEL sel, P&&... args) {
        IMP current = imp;
        while (current && current->forwardTarget()) {
            current = current->forwardTarget();
        }
        const auto* typed = dynamic_cast<const TypedImplementation<R(A...)>*>(current.get());
        if (typed == nullptr) {
            signatureFault(self, sel, current, typeid(R(A...)));
        }
        return (*typed)(self, sel, std::forward<P>(args)...);
    }
};

template <class Sig, class... P>
decltype(auto) callImp(const IMP& imp, const id& self, SEL sel, P&&... args) {
    return Invoke<Sig>::call(imp, self, sel, std::forward<P>(args)...);
}

} // namespace rt
