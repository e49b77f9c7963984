#pragma once
// Opt-in tracing of the runtime, switched on with LAPVANE_TRACE=send,hooks,runloop.

#include <string_view>

namespace rt::trace {

enum class Channel { Send, Hooks, RunLoop };

/// True when the channel was named in LAPVANE_TRACE.
bool enabled(Channel channel);
/// Writes one trace line to standard error.
void log(Channel channel, std::string_view text);

} // namespace rt::trace
