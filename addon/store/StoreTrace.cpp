#include "addon/store/StoreTrace.h"

#include "addon/store/SavedTimeRecord.h"
#include "platform/foundation/PropertyListDate.h"
#include "platform/runtime/Trace.h"

#include <cstdio>

namespace lv::storetrace {

bool on() {
    return rt::trace::enabled(rt::trace::Channel::Store);
}

std::string recordName(const id& record) {
    const SavedTimeView view = readSavedTime(record);
    if (!view.date) {
        return "no-date";
    }
    return plist::formatXmlDate(view.date->timeIntervalSinceReferenceDate()).value_or("no-date");
}

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void stored(const std::string& change) {
    rt::trace::log(rt::trace::Channel::Store, change);
}

} // namespace lv::storetrace
