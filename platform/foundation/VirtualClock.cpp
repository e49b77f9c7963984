#include "platform/foundation/VirtualClock.h"

#include "platform/runtime/NSException.h"

#include <string>

namespace ns {

void VirtualClock::advanceTo(NSTimeInterval moment) {
    if (moment < now_) {
        throw NSException(NSInvalidArgumentException, "the device clock cannot run backwards (now " +
                                                          std::to_string(now_) + ", asked " +
                                                          std::to_string(moment) + ")");
    }
    now_ = moment;
}

} // namespace ns
