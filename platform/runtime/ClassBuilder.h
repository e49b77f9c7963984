#pragma once
// Describes a class before it is registered: its instance variables and its methods.

#include "platform/runtime/Implementation.h"
#include "platform/runtime/NSException.h"
#include "platform/runtime/Selector.h"

#include <memory>
#include <string>
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

    /// Adds an instance variable with a type encoding such as "@", "c", "d".
    ClassBuilder& ivar(std::string name, std::string type) {
        ivars_.push_back({std::move(name), std::move(type)});
        return *this;
    }

    /// Adds a method from an implementation.
    ClassBuilder& method(std::string selector, std::string types, IMP imp) {
        methods_.push_back({std::move(selector), std::move(imp), std::move(types)});
        return *this;
    }

    /// Adds a method that calls a member function of the receiver, so that overriding the
    /// selector in the runtime (or hooking it) is what decides which code runs.
    template <auto Fn>
    ClassBuilder& method(std::string selector, std::string types) {
        using Traits = MemberFunction<decltype(Fn)>;
        return method(std::move(selector), std::move(types),
                      bind<Fn, typename Traits::Owner>(static_cast<typename Traits::Signature*>(nullptr)));
    }

    [[nodiscard]] const std::string& name() const { return name_; }
    [[nodiscard]] Class superclass() const { return superclass_; }
    [[nodiscard]] const std::vector<IvarSpec>& ivars() const { return ivars_; }
    [[nodiscard]] const std::vector<MethodSpec>& methods() const { return methods_; }

  private:
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
