#pragma once
// The runtime's records of classes, instance variables and methods.

#include "platform/runtime/Forward.h"
#include "platform/runtime/Selector.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

/// An instance variable: its name, its type encoding and its byte offset in the object.
struct objc_ivar {
    std::string name;
    std::string type;
    std::ptrdiff_t offset = 0;
};

/// A method: its selector, its implementation and its type encoding.
struct objc_method {
    SEL sel;
    IMP imp;
    std::string types;
};

namespace rt {
/// Offsets of the object-typed instance variables of a class and its superclasses: what an
/// object must construct and destroy in its variable block.
struct IvarLayout {
    std::size_t size = 0;
    std::vector<std::ptrdiff_t> objectOffsets;
};

/// One object's instance variables: the bytes laid out by its class, object variables
/// constructed, and the layout that says which to destroy, kept with them because an object
/// may outlive its runtime.
struct IvarBlock {
    explicit IvarBlock(std::shared_ptr<const IvarLayout> layout);
    ~IvarBlock();
    IvarBlock(const IvarBlock&) = delete;
    IvarBlock& operator=(const IvarBlock&) = delete;

    std::shared_ptr<const IvarLayout> layout;
    std::unique_ptr<std::byte[]> bytes;
};
} // namespace rt

/// A class: name, superclass, instance variables and a method table.
struct objc_class {
    std::string name;
    Class superclass = nullptr;
    std::vector<std::unique_ptr<objc_ivar>> ivars;
    std::unordered_map<SEL, std::unique_ptr<objc_method>> methods;
    std::shared_ptr<const rt::IvarLayout> layout;

    /// The class's own method for a selector, ignoring superclasses.
    [[nodiscard]] Method ownMethod(SEL sel) const;
    /// The method that a message to an instance runs: own, else the nearest superclass's.
    [[nodiscard]] Method lookupMethod(SEL sel) const;
    /// The variable of that name in the class or its superclasses.
    [[nodiscard]] Ivar lookupIvar(std::string_view name) const;
    /// True when `other` is this class or one of its superclasses.
    [[nodiscard]] bool isSubclassOf(Class other) const;
};
