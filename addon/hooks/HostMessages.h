#pragma once
// The hosts' messages the add-on sends or replaces, declared by name as a loaded library must:
// it has no host headers, only the selectors and their signatures.

#include "platform/foundation/NSString.h"
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

} // namespace lv::host
