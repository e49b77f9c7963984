#pragma once
// Objective-C type encodings derived from C++ types, so that a method's encoding ("v@:c") and an
// instance variable's ("@", "c") always follow from the signature or type that the code uses and
// are never typed by hand.

#include "platform/runtime/Forward.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

namespace rt {

template <class T, class = void>
struct TypeCode;

template <class T>
struct TypeCode<T, std::enable_if_t<!std::is_same_v<T, std::remove_cvref_t<T>>>>
    : TypeCode<std::remove_cvref_t<T>> {};

// BOOL is a signed char on the 32-bit phone.
template <>
struct TypeCode<void> {
    static constexpr char value = 'v';
};
template <>
struct TypeCode<bool> {
    static constexpr char value = 'c';
};
template <>
struct TypeCode<char> {
    static constexpr char value = 'c';
};
template <>
struct TypeCode<signed char> {
    static constexpr char value = 'c';
};
template <>
struct TypeCode<unsigned char> {
    static constexpr char value = 'C';
};
template <>
struct TypeCode<short> {
    static constexpr char value = 's';
};
template <>
struct TypeCode<unsigned short> {
    static constexpr char value = 'S';
};
template <>
struct TypeCode<int> {
    static constexpr char value = 'i';
};
template <>
struct TypeCode<unsigned int> {
    static constexpr char value = 'I';
};
template <>
struct TypeCode<long> {
    static constexpr char value = 'q';
};
template <>
struct TypeCode<long long> {
    static constexpr char value = 'q';
};
template <>
struct TypeCode<unsigned long> {
    static constexpr char value = 'Q';
};
template <>
struct TypeCode<unsigned long long> {
    static constexpr char value = 'Q';
};
template <>
struct TypeCode<float> {
    static constexpr char value = 'f';
};
template <>
struct TypeCode<double> {
    static constexpr char value = 'd';
};
template <>
struct TypeCode<SEL> {
    static constexpr char value = ':';
};
// Object references, and the strings that stand for NSString arguments (nil as nullopt).
template <class T>
struct TypeCode<std::shared_ptr<T>> {
    static constexpr char value = '@';
};
template <>
struct TypeCode<std::string> {
    static constexpr char value = '@';
};
template <>
struct TypeCode<std::optional<std::string>> {
    static constexpr char value = '@';
};
// An enumeration is passed as its underlying integer.
template <class T>
struct TypeCode<T, std::enable_if_t<std::is_enum_v<T> && std::is_same_v<T, std::remove_cvref_t<T>>>>
    : TypeCode<std::underlying_type_t<T>> {};

/// The encoding of one value type, such as "@" or "c".
template <class T>
inline constexpr std::array<char, 2> kTypeEncoding = {TypeCode<T>::value, '\0'};

template <class Sig>
struct SignatureEncoding;

/// The encoding of a method of signature `R(A...)`: result, self, _cmd, then the arguments.
template <class R, class... A>
struct SignatureEncoding<R(A...)> {
    static constexpr std::array<char, sizeof...(A) + 4> chars = {TypeCode<R>::value, '@', ':',
                                                                 TypeCode<A>::value..., '\0'};
};

/// The type encoding of a method with the C++ signature `Sig`, NUL-terminated.
template <class Sig>
constexpr const char* encodingOf() {
    return SignatureEncoding<Sig>::chars.data();
}

/// The type encoding of an instance variable of type `T`, NUL-terminated.
template <class T>
constexpr const char* ivarEncodingOf() {
    return kTypeEncoding<T>.data();
}

} // namespace rt
