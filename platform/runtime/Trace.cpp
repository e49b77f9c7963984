#include "platform/runtime/Trace.h"

#include <cstdlib>
#include <iostream>

namespace rt::trace {

Switches parseSwitches(std::string_view value) {
    Switches s;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = value.find(',', start);
        const std::string_view item =
            value.substr(start, end == std::string_view::npos ? value.npos : end - start);
        s.send |= item == "send" || item == "all";
        s.hooks |= item == "hooks" || item == "all";
        s.runLoop |= item == "runloop" || item == "all";
        s.store |= item == "store" || item == "all";
        s.frames |= item == "frames" || item == "all";
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return s;
}

namespace {
const Switches& switches() {
    static const Switches parsed = [] {
        const char* env = std::getenv("LAPVANE_TRACE");
        return parseSwitches(env ? env : "");
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
    case Channel::Frames:
        return switches().frames;
    }
    return false;
}

void log(Channel channel, std::string_view text) {
    const char* tag = channel == Channel::Send      ? "send"
                      : channel == Channel::Hooks   ? "hooks"
                      : channel == Channel::RunLoop ? "runloop"
                      : channel == Channel::Store   ? "store"
                                                    : "frame";
    std::cerr << "[" << tag << "] " << text << '\n';
}

} // namespace rt::trace
