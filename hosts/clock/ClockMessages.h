#pragma once
// The Clock application's own messages, sent through the runtime so that a replacement of any
// of them takes effect, and the instance variables in which it keeps the state that other code
// reads by name.

#include "platform/foundation/NSArray.h"
#include "platform/runtime/InstanceVariable.h"
#include "platform/runtime/Message.h"

namespace clockmsg {

inline constexpr rt::Msg<void(id)> applicationDidFinishLaunching{"applicationDidFinishLaunching:"};
inline constexpr rt::Msg<void(id)> selectViewController{"_selectViewController:"};
inline constexpr rt::Msg<void()> startTimer{"_startTimer"};
inline constexpr rt::Msg<void()> stopTimer{"_stopTimer"};
inline constexpr rt::Msg<void()> lap{"_lap"};
inline constexpr rt::Msg<void()> clearAllLaps{"_clearAllLaps"};
inline constexpr rt::Msg<double()> currentLapTime{"currentLapTime"};
inline constexpr rt::Msg<void(id)> startStopButtonClicked{"startStopButtonClicked:"};
inline constexpr rt::Msg<void(id)> lapResetButtonClicked{"lapResetButtonClicked:"};

} // namespace clockmsg

namespace clockivar {

// StopWatchViewController.
inline constexpr rt::IvarRef<bool> isTimerRunning{"_isTimerRunning"};
inline constexpr rt::IvarRef<id> laptimeView{"_laptimeView"};
inline constexpr rt::IvarRef<std::shared_ptr<NSMutableArray>> laps{"_laps"};

// AppController.
inline constexpr rt::IvarRef<id> tabBarController{"_tabBarController"};
inline constexpr rt::IvarRef<id> window{"_window"};

} // namespace clockivar
