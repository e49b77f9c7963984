#pragma once
// Opt-in tracing of the runtime, switched on with LAPVANE_TRACE=send,hooks,runloop,store,frames.

#include <string_view>

namespace rt::trace {

/// Store: each change an application's own store wrote to its files, one line per change.
/// Frames: each picture a window drew, one line per frame.
enum class Channel { Send, Hooks, RunLoop, Store, Frames };

/// The channels a value of LAPVANE_TRACE turns on: a comma-separated list of channel names, or
/// "all" for every channel; other words are ignored.
struct Switches {
    bool send = false;
    bool hooks = false;
    bool runLoop = false;
    bool store = false;
    bool frames = false;
};
Switches parseSwitches(std::string_view value);

/// True when the channel was named in LAPVANE_TRACE.
bool enabled(Channel channel);
/// Writes one trace line to standard error.
void log(Channel channel, std::string_view text);

} // namespace rt::trace
