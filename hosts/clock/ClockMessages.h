#pragma once
// The Clock application's own messages, sent through the runtime so that a replacement of any
// of them takes effect.

#include "platform/runtime/Message.h"

namespace clockmsg {

inline constexpr rt::Msg<void(id)> applicationDidFinishLaunching{"applicationDidFinishLaunching:"};
inline constexpr rt::Msg<void(id)> selectViewController{"_selectViewController:"};
inline constexpr rt::Msg<void()> startTimer{"_startTimer"};
inline constexpr rt::Msg<void()> stopTimer{"_stopTimer"};
inline constexpr rt::Msg<void()> lap{"_lap"};
inline constexpr rt::Msg<void()> clearAllLaps{"_clearAllLaps"};
inline constexpr rt::Msg<double()> currentLapTime{"currentLapTime"};

} // namespace clockmsg
