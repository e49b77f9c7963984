#pragma once
// The class table of one process. The simulated device owns one; each test builds a fresh one
// and makes it current with a Scope. Objects made with rt::make get their class from the current
// runtime, registering it (and its superclasses) on first use.

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/ObjcClass.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace rt {

template <class T>
concept Describable = requires(ClassBuilder& b) {
    T::describe(b);
};

/// One process's table of classes.
class Runtime {
  public:
    Runtime();
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    /// The runtime of the running process: the innermost Scope's, else a process default.
    static Runtime& current();

    /// Makes a runtime current for its lifetime, restoring the previous one after.
    class Scope {
      public:
        explicit Scope(Runtime& runtime);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        Runtime* previous_;
    };

    /// The class of that name, or nil when the process has none.
    [[nodiscard]] Class getClass(std::string_view name) const;
    /// Registers a class built by `builder`; registering a name twice is a fault.
    Class registerClass(const ClassBuilder& builder);

    /// The class for the C++ type T, registered with its superclasses on first use.
    template <class T>
    Class classFor() {
        if (Class found = getClass(T::kClassName)) {
            return found;
        }
        Class superclass = nullptr;
        if constexpr (!std::is_void_v<typename T::Super>) {
            superclass = classFor<typename T::Super>();
        }
        ClassBuilder builder(T::kClassName, superclass);
        // A class describes only what it declares itself; an inherited describe belongs to the
        // superclass and must not be registered again.
        if constexpr (Describable<T>) {
            if constexpr (std::is_void_v<typename T::Super>) {
                T::describe(builder);
            } else if constexpr (Describable<typename T::Super>) {
                if (&T::describe != &T::Super::describe) {
                    T::describe(builder);
                }
            } else {
                T::describe(builder);
            }
        }
        return registerClass(builder);
    }

    /// Gives an object its class and a fresh instance-variable block laid out for it.
    void attach(NSObject& object, Class cls);

  private:
    std::map<std::string, std::unique_ptr<objc_class>, std::less<>> classes_;
};

/// Makes an object of type T attached to its class in the current runtime.
template <class T, class... A>
std::shared_ptr<T> make(A&&... args) {
    auto object = std::make_shared<T>(std::forward<A>(args)...);
    Runtime& runtime = Runtime::current();
    runtime.attach(*object, runtime.classFor<T>());
    return object;
}

} // namespace rt
