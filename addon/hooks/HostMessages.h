#pragma once
// The hosts' messages the add-on sends or replaces, and the instance variables it reads, declared
// by name as a loaded library must: it has no host headers, only the selectors with their
// signatures and the variables with their types.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/InstanceVariable.h"
#include "platform/runtime/Message.h"

#include <memory>

namespace lv::host {

inline constexpr rt::Msg<double()> currentLapTime{"currentLapTime"};
inline constexpr rt::Msg<std::shared_ptr<NSString>()> currentDefaultPNGName{"_currentDefaultPNGName"};
inline constexpr rt::Msg<void(id)> applicationDidFinishLaunching{"applicationDidFinishLaunching:"};
inline constexpr rt::Msg<void(id)> selectViewController{"_selectViewController:"};
inline constexpr rt::Msg<void()> viewDidLoad{"viewDidLoad"};
inline constexpr rt::Msg<void()> clearAllLaps{"_clearAllLaps"};
inline constexpr rt::Msg<void()> stopTimer{"_stopTimer"};
inline constexpr rt::Msg<void()> startTimer{"_startTimer"};
inline constexpr rt::Msg<void()> saveButtonClicked{"saveButtonClicked"};

namespace ivar {
// StopWatchViewController (and every view controller's `_view`).
inline constexpr rt::IvarRef<id> view{"_view"};
inline constexpr rt::IvarRef<bool> isTimerRunning{"_isTimerRunning"};
inline constexpr rt::IvarRef<id> laptimeView{"_laptimeView"};
inline constexpr rt::IvarRef<std::shared_ptr<NSArray>> laps{"_laps"};
// AppController.
inline constexpr rt::IvarRef<id> tabBarController{"_tabBarController"};
// SBApplication.
inline constexpr rt::IvarRef<std::shared_ptr<NSString>> bundleIdentifier{"_bundleIdentifier"};
} // namespace ivar

} // namespace lv::host
