#pragma once
// Describes a class before it is registered: its instance variables and its methods.

#include "platform/runtime/Implementation.h"
#include "platform/runtime/InstanceVariable.h"
#include "platform/runtime/Message.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Selector.h"

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace rt {

template <class M>
struct MemberFunction;

template <class C, class R, class... A>
struct MemberFunction<R (C::*)(A...)> {
    using Owner = C;
    using Signature = R(A...);
};

template <class C, class R, class... A>
struct MemberFunction<R (C::*)(A...) const> {
    using Owner = C;
    using Signature = R(A...);
};

/// Raises the fault of a method run on an object of the wrong kind.
[[noreturn]] void wrongReceiverFault(const id& self, SEL sel, const char* expectedClass);

/// The list of variables and methods a class is registered with.
class ClassBuilder {
  public:
    struct IvarSpec {
        std::string name;
        std::string type;
    };
    struct MethodSpec {
        std::string selector;
        IMP imp;
        std::string types;
    };

    ClassBuilder(std::string name, Class superclass) : name_(std::move(name)), superclass_(superclass) {}

    /// Adds an instance variable, with the encoding its type gives.
    template <class T>
    ClassBuilder& ivar(const IvarRef<T>& variable) {
        ivars_.push_back({variable.name, IvarRef<T>::types()});
        return *this;
    }

    /// Adds a method for `message` that calls the member function `Fn` of the receiver, so that
    /// overriding the selector in the runtime (or hooking it) is what decides which code runs.
    /// The member function must have the message's signature exactly.
    template <auto Fn, class Sig>
    ClassBuilder& method(const Msg<Sig>& message) {
        using Traits = MemberFunction<decltype(Fn)>;
        static_assert(std::is_same_v<typename Traits::Signature, Sig>,
                      "the member function's signature differs from the message's");
        return add(message.name, Msg<Sig>::types(),
                   bind<Fn, typename Traits::Owner>(static_cast<Sig*>(nullptr)));
    }

    /// Adds a method for `message` from a callable taking (self, _cmd, args...).
    template <class Sig, class F>
    ClassBuilder& method(const Msg<Sig>& message, F&& fn) {
        return add(message.name, Msg<Sig>::types(), imp<Sig>(std::forward<F>(fn)));
    }

    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] Class superclass() const { return superclass_; }
    [[nodiscard]] const std::vector<IvarSpec>& ivars() const { return ivars_; }
    [[nodiscard]] const std::vector<MethodSpec>& methods() const { return methods_; }

  private:
    ClassBuilder& add(std::string_view selector, const char* types, IMP imp) {
        methods_.push_back({std::string(selector), std::move(imp), types});
        return *this;
    }

    template <auto Fn, class C, class R, class... A>
    static IMP bind(R (*)(A...)) {
        return imp<R(A...)>([](const id& self, SEL sel, A... args) -> R {
            auto* receiver = dynamic_cast<C*>(self.get());
            if (receiver == nullptr) {
                wrongReceiverFault(self, sel, C::kClassName);
            }
            return (receiver->*Fn)(std::forward<A>(args)...);
        });
    }

    std::string name_;
    Class superclass_;
    std::vector<IvarSpec> ivars_;
    std::vector<MethodSpec> methods_;
};

} // namespace rt
