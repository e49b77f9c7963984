#pragma once
// printf-style formatting as the platform's stringWithFormat: does it: numbers are converted by
// the C library's snprintf, so digits and rounding are the platform's (both libraries round
// correctly), always with '.' as the decimal point whatever the process locale is. "%@" prints an
// object's description ("(null)" for nil) or a string as it is.
//
// The format must be a compile-time constant: ns::format("%.1f", t) compiles, ns::format(text)
// with a runtime string does not, so user text can never become a format. The conversions are
// checked against the arguments at compile time too: a float given to "%i", a number given to
// "%@", or a missing argument is a build error rather than garbage on screen.

#include "platform/runtime/NSObject.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

namespace ns {
namespace format_detail {

/// What an argument can be printed as.
enum class ArgKind { Integer, Real, Text, Object };

/// The length modifier of a conversion, folded to what is passed to snprintf.
enum class Length { Default, Char, Short, Long };

/// One conversion of a format, or the reason it is not accepted.
struct Conversion {
    std::size_t end = 0;      ///< index just after the conversion character
    std::size_t lengthAt = 0; ///< index of the length modifier (or of the type when none)
    char type = 0;            ///< the conversion character; '%' for a literal percent sign
    Length length = Length::Default;
    bool modified = false;       ///< flags, width or precision were given
    const char* error = nullptr; ///< why the conversion is refused, nullptr when accepted
};

/// Parses the conversion whose '%' is at `at`. Accepts flags "-+ #0", a decimal width, a
/// precision ".digits" (digits may be empty), the lengths hh h l ll q j z t (L, '*' and
/// positional arguments are refused), and the conversions d i u o x X c f F e E g G a A s @ %.
constexpr Conversion parseConversion(std::string_view fmt, std::size_t at) {
    Conversion c;
    std::size_t i = at + 1;
    const auto peek = [&](std::size_t k) { return k < fmt.size() ? fmt[k] : '\0'; };
    while (peek(i) == '-' || peek(i) == '+' || peek(i) == ' ' || peek(i) == '#' || peek(i) == '0') {
        c.modified = true;
        ++i;
    }
    while (peek(i) >= '0' && peek(i) <= '9') {
        c.modified = true;
        ++i;
    }
    if (peek(i) == '$' || peek(i) == '*') {
        c.error = "positional arguments and '*' widths are not supported";
        return c;
    }
    if (peek(i) == '.') {
        c.modified = true;
        ++i;
        while (peek(i) >= '0' && peek(i) <= '9') {
            ++i;
        }
        if (peek(i) == '*') {
            c.error = "'*' precisions are not supported";
            return c;
        }
    }
    c.lengthAt = i;
    if (peek(i) == 'h') {
        ++i;
        c.length = Length::Short;
        if (peek(i) == 'h') {
            ++i;
            c.length = Length::Char;
        }
    } else if (peek(i) == 'l') {
        ++i;
        c.length = Length::Long;
        if (peek(i) == 'l') {
            ++i;
        }
    } else if (peek(i) == 'q' || peek(i) == 'j' || peek(i) == 'z' || peek(i) == 't') {
        ++i;
        c.length = Length::Long;
    }
    c.type = peek(i);
    c.end = i + 1;
    switch (c.type) {
    case 'd':
    case 'i':
    case 'u':
    case 'o':
    case 'x':
    case 'X':
        break;
    case 'c':
        if (c.length != Length::Default) {
            c.error = "wide characters are not supported";
        }
        break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        if (c.length == Length::Short || c.length == Length::Char) {
            c.error = "h and hh do not apply to real conversions";
        }
        break;
    case 's':
        if (c.length != Length::Default) {
            c.error = "wide strings are not supported";
        }
        break;
    case '@':
    case '%':
        if (c.modified || c.length != Length::Default) {
            c.error = "%@ and %% take no flags, width, precision or length";
        }
        break;
    default:
        c.error = "unsupported conversion";
        break;
    }
    return c;
}

/// Whether an argument of `kind` may be given to conversion `type`.
constexpr bool accepts(char type, ArgKind kind) {
    switch (type) {
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        return kind == ArgKind::Real;
    case 's':
        return kind == ArgKind::Text;
    case '@':
        return kind == ArgKind::Text || kind == ArgKind::Object;
    default:
        return kind == ArgKind::Integer;
    }
}

/// Not constexpr on purpose: reaching it while checking a format at compile time stops the build,
/// and the compiler's message shows `why`.
void formatStringIsInvalid(const char* why);

template <class T>
struct IsObjectPointer : std::false_type {};
template <class T>
struct IsObjectPointer<std::shared_ptr<T>> : std::bool_constant<std::is_base_of_v<NSObject, T>> {};

template <class>
inline constexpr bool kUnsupported = false;

/// How an argument of type T is printed.
template <class T>
consteval ArgKind kindOf() {
    using U = std::remove_cvref_t<T>;
    if constexpr (std::is_integral_v<U>) {
        return ArgKind::Integer;
    } else if constexpr (std::is_same_v<U, float> || std::is_same_v<U, double>) {
        return ArgKind::Real;
    } else if constexpr (std::is_same_v<U, std::nullptr_t>) {
        static_assert(kUnsupported<U>, "pass a typed nil (std::shared_ptr<T>{}) instead of nullptr");
        return ArgKind::Object;
    } else if constexpr (std::is_convertible_v<const U&, std::string_view>) {
        return ArgKind::Text;
    } else if constexpr (IsObjectPointer<U>::value) {
        return ArgKind::Object;
    } else {
        static_assert(kUnsupported<U>, "argument type cannot be formatted");
        return ArgKind::Object;
    }
}

/// Checks a whole format against the kinds of its arguments.
template <std::size_t N>
constexpr void check(std::string_view fmt, const std::array<ArgKind, N>& kinds) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') {
            continue;
        }
        const Conversion c = parseConversion(fmt, i);
        if (c.error != nullptr) {
            formatStringIsInvalid(c.error);
        }
        i = c.end - 1;
        if (c.type == '%') {
            continue;
        }
        if (next == N) {
            formatStringIsInvalid("more conversions than arguments");
        } else if (!accepts(c.type, kinds[next])) {
            formatStringIsInvalid("argument does not match its conversion");
        }
        ++next;
    }
    if (next != N) {
        formatStringIsInvalid("more arguments than conversions");
    }
}

/// An argument reduced to what the renderer needs.
struct Arg {
    ArgKind kind = ArgKind::Integer;
    std::int64_t integer = 0;
    double real = 0;
    std::string text;
};

template <class T>
Arg toArg(const T& value) {
    Arg arg;
    arg.kind = kindOf<T>();
    if constexpr (kindOf<T>() == ArgKind::Integer) {
        arg.integer = static_cast<std::int64_t>(value);
    } else if constexpr (kindOf<T>() == ArgKind::Real) {
        arg.real = static_cast<double>(value);
    } else if constexpr (kindOf<T>() == ArgKind::Text) {
        if constexpr (std::is_convertible_v<const T&, const char*>) {
            const char* text = value;
            arg.text = text != nullptr ? text : "(null)";
        } else {
            arg.text = std::string(std::string_view(value));
        }
    } else {
        arg.text = value ? value->description() : "(null)";
    }
    return arg;
}

/// Renders a checked format with its arguments in the "C" locale.
std::string render(std::string_view fmt, const Arg* args, std::size_t count);

} // namespace format_detail

/// A format checked at compile time against the argument types A.
template <class... A>
class FormatString {
  public:
    /// Only constant text converts, so formats are always written in the code.
    template <class S>
    requires std::is_convertible_v<const S&, std::string_view>
    consteval FormatString(const S& text) : text_(text) { // NOLINT(google-explicit-constructor)
        format_detail::check(text_,
                             std::array<format_detail::ArgKind, sizeof...(A)>{format_detail::kindOf<A>()...});
    }
    /// The format's text.
    [[nodiscard]] constexpr std::string_view text() const { return text_; }

  private:
    std::string_view text_;
};

/// Formats the arguments as the platform's stringWithFormat: would.
template <class... A>
std::string format(FormatString<std::type_identity_t<A>...> fmt, const A&... args) {
    const std::array<format_detail::Arg, sizeof...(A)> values{format_detail::toArg(args)...};
    return format_detail::render(fmt.text(), values.data(), values.size());
}

} // namespace ns
