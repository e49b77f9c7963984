#include "platform/foundation/StringFormat.h"

#include "platform/foundation/CLocale.h"

#include <cstdio>
#include <vector>

namespace ns::format_detail {
namespace {

// Formats one conversion with snprintf. The conversion text is rebuilt from the parsed parts so that the
// value passed always has the type the conversion names.
template <class V>
void append(std::string& out, const std::string& conversion, V value) {
    char small[128];
    const int needed = std::snprintf(small, sizeof small, conversion.c_str(), value);
    if (needed < 0) {
        return;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.append(small, static_cast<std::size_t>(needed));
        return;
    }
    std::vector<char> large(static_cast<std::size_t>(needed) + 1);
    std::snprintf(large.data(), large.size(), conversion.c_str(), value);
    out.append(large.data(), static_cast<std::size_t>(needed));
}

bool isSigned(char type) {
    return type == 'd' || type == 'i';
}

bool isReal(char type) {
    return type == 'f' || type == 'F' || type == 'e' || type == 'E' || type == 'g' || type == 'G' ||
           type == 'a' || type == 'A';
}

void appendInteger(std::string& out, const std::string& base, const Conversion& c, std::int64_t value) {
    const std::string type(1, c.type);
    if (c.type == 'c') {
        append(out, base + type, static_cast<int>(static_cast<unsigned char>(value)));
        return;
    }
    // As on the platform, the argument is read at the width the length modifier names: "%i" of
    // a value beyond 32 bits shows its low 32 bits.
    if (isSigned(c.type)) {
        switch (c.length) {
        case Length::Char:
            append(out, base + type, static_cast<int>(static_cast<signed char>(value)));
            return;
        case Length::Short:
            append(out, base + type, static_cast<int>(static_cast<short>(value)));
            return;
        case Length::Long:
            append(out, base + "ll" + type, static_cast<long long>(value));
            return;
        case Length::Default:
            append(out, base + type, static_cast<int>(value));
            return;
        }
    }
    const auto bits = static_cast<std::uint64_t>(value);
    switch (c.length) {
    case Length::Char:
        append(out, base + type, static_cast<unsigned>(static_cast<unsigned char>(bits)));
        return;
    case Length::Short:
        append(out, base + type, static_cast<unsigned>(static_cast<unsigned short>(bits)));
        return;
    case Length::Long:
        append(out, base + "ll" + type, static_cast<unsigned long long>(bits));
        return;
    case Length::Default:
        append(out, base + type, static_cast<unsigned>(bits));
        return;
    }
}

} // namespace

std::string render(std::string_view fmt, const Arg* args, std::size_t count) {
    const CLocaleScope cLocale;
    std::string out;
    std::size_t next = 0;
    std::size_t literalStart = 0;
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') {
            continue;
        }
        out.append(fmt.substr(literalStart, i - literalStart));
        const Conversion c = parseConversion(fmt, i);
        literalStart = c.end;
        const std::size_t at = i;
        i = c.end - 1;
        if (c.error != nullptr) {
            // Formats are checked when the program is built; this only guards the renderer.
            break;
        }
        if (c.type == '%') {
            out.push_back('%');
            continue;
        }
        if (next >= count) {
            break;
        }
        const Arg& arg = args[next++];
        // The flags, width and precision as written; the length is chosen per value below.
        const std::string base = "%" + std::string(fmt.substr(at + 1, c.lengthAt - at - 1));
        if (c.type == '@') {
            out.append(arg.text);
        } else if (c.type == 's') {
            append(out, base + "s", arg.text.c_str());
        } else if (isReal(c.type)) {
            append(out, base + c.type, arg.real);
        } else {
            appendInteger(out, base, c, arg.integer);
        }
    }
    if (literalStart < fmt.size()) {
        out.append(fmt.substr(literalStart));
    }
    return out;
}

} // namespace ns::format_detail

namespace ns::format_detail {

void formatStringIsInvalid(const char* /*why*/) {}

} // namespace ns::format_detail
