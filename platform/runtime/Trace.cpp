#include "platform/runtime/Trace.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace rt::trace {
namespace {
struct Switches {
    bool send = false;
    bool hooks = false;
    bool runLoop = false;
    bool store = false;
};

const Switches& switches() {
    static const Switches parsed = [] {
        Switches s;
        const char* env = std::getenv("LAPVANE_TRACE");
        std::string value = env ? env : "";
        std::size_t start = 0;
        while (start <= value.size()) {
            std::size_t end = value.find(',', start);
            std::string item =
                value.substr(start, end == std::string::npos ? std::string::npos : end - start);
            s.send |= item == "send" || item == "all";
            s.hooks |= item == "hooks" || item == "all";
            s.runLoop |= item == "runloop" || item == "all";
            s.store |= item == "store" || item == "all";
            if (end == std::string::npos) {
                break;
            }
            start = end + 1;
        }
        return s;
    }();
    return parsed;
}
} // namespace

bool enabled(Channel channel) {
    switch (channel) {
    case Channel::Send:
        return switches().send;
    case Channel::Hooks:
        return switches().hooks;
    case Channel::RunLoop:
        return switches().runLoop;
    case Channel::Store:
        return switches().store;
    }
    return false;
}

void log(Channel channel, std::string_view text) {
    const char* tag = channel == Channel::Send      ? "send"
                      : channel == Channel::Hooks   ? "hooks"
                      : channel == Channel::RunLoop ? "runloop"
                                                    : "store";
    std::cerr << "[" << tag << "] " << text << '\n';
}

} // namespace rt::trace
