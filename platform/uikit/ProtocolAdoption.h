#pragma once
// What the adoption templates (`AdoptsUITableViewDataSource` and the others) share. A protocol's
// `implements` answer is derived, never written: an optional method counts as implemented when
// the adopter, or a class between it and the protocol, overrides it. Whether it does is a question
// about types: `&Adopter::method` names the protocol's own method when nobody overrides it, and
// the overrider's otherwise, so the two member-pointer types differ exactly when there is an
// override. The warnings -Wsuggest-override and -Woverloaded-virtual (errors in this project)
// make sure that a method meant as an override with a mistyped signature does not compile
// instead of hiding the protocol's method and being announced as implemented.

#include <type_traits>

namespace ui {

/// True when `declared` (a method looked up in an adopter) is not the protocol's `original`,
/// that is, when the adopter or a class between it and the protocol overrides the method.
template <class Declared, class Original>
consteval bool overrides(Declared, Original) {
    return !std::is_same_v<Declared, Original>;
}

} // namespace ui
