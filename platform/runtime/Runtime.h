#pragma once
// The class table of one process. The simulated device owns one; each test builds a fresh one
// and makes it current with a Scope. Objects made with rt::make get their class from the current
// runtime, registering it (and its superclasses) on first use.

#include "platform/runtime/ClassBuilder.h"
#include "platform/runtime/NSObject.h"
#include "platform/runtime/ObjcClass.h"

#include <cstdint>
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

    /// A number no other runtime of the process has had or will have, so that what is cached
    /// about a runtime is never taken for another made later at the same address.
    [[nodiscard]] std::uint64_t serial() const { return serial_; }

    /// The class for the C++ type T, registered with its superclasses on first use. The answer
    /// is remembered per thread for the last runtime asked, by its serial: a name never changes
    /// its class within a runtime, so only the first call for a runtime looks the name up.
    template <class T>
    Class classFor() {
        thread_local CachedClass cached;
        if (cached.serial == serial_) {
            return cached.cls;
        }
        Class cls = lookUpOrRegister<T>();
        cached = CachedClass{serial_, cls};
        return cls;
    }

    /// Gives an object its class and, when the class has instance variables, a fresh block laid
    /// out for them.
    void attach(NSObject& object, Class cls);

  private:
    struct CachedClass {
        std::uint64_t serial = 0;
        Class cls = nullptr;
    };

    template <class T>
    Class lookUpOrRegister() {
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

    std::uint64_t serial_;
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
