#include "platform/runtime/Message.h"

#include "platform/runtime/NSException.h"
#include "platform/runtime/Trace.h"

#include <sstream>

namespace rt {

void unrecognizedSelector(const id& receiver, SEL sel) {
    std::ostringstream reason;
    reason << "-[" << (receiver->isa() ? receiver->isa()->name : std::string("?")) << " " << sel.name()
           << "]: unrecognized selector sent to instance " << static_cast<const void*>(receiver.get());
    throw NSException(NSInvalidArgumentException, reason.str());
}

void traceSend(const id& receiver, SEL sel) {
    if (trace::enabled(trace::Channel::Send)) {
        trace::log(trace::Channel::Send, "-[" + (receiver->isa() ? receiver->isa()->name : std::string("?")) +
                                             " " + sel.name() + "]");
    }
}

bool respondsToSelector(const id& receiver, SEL sel) {
    return receiver && receiver->isa() && receiver->isa()->lookupMethod(sel) != nullptr;
}

} // namespace rt
