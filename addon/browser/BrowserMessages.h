#pragma once
// The saved-times browser's own messages: the ones it sends itself, the bar items' action and its
// delayed messages (the lap panel's settle step, the removal of an emptied section, the reload
// after a delete). Each is declared once, here, with its signature; the browser
// registers them from these constants and always sends them through the runtime, so a replacement
// of any of them takes effect.

#include "platform/runtime/Message.h"

#include <cstdint>

namespace lv::browser {

/// `refreshAllStopWatchSavedTimes`: rebuilds the in-memory list from the saved-times file.
inline constexpr rt::Msg<void()> refreshAllStopWatchSavedTimes{"refreshAllStopWatchSavedTimes"};
/// `setAllLapsForSection:withIndex:`: fills the lap texts of one record from a fresh read.
inline constexpr rt::Msg<void(std::int32_t, std::int32_t)> setAllLapsForSectionWithIndex{
    "setAllLapsForSection:withIndex:"};
/// `tableViewNextAnimationWithCellToDeselect:`: the lap panel's settle step, with the index path of
/// the row to deselect. Delivered as a delayed message.
inline constexpr rt::Msg<void(id)> tableViewNextAnimationWithCellToDeselect{
    "tableViewNextAnimationWithCellToDeselect:"};
/// `topBarButtonClicked:`: the action of the top bar's items, with the item as sender.
inline constexpr rt::Msg<void(id)> topBarButtonClicked{"topBarButtonClicked:"};
/// `deleteEmptySections:`: takes the sections of an index set out of the table of results and
/// closes the batch that the removal left open. Delivered as a delayed message.
inline constexpr rt::Msg<void(id)> deleteEmptySections{"deleteEmptySections:"};
/// `reloadDeley`: reloads the table of results. Delivered as a delayed message.
inline constexpr rt::Msg<void()> reloadDeley{"reloadDeley"};

} // namespace lv::browser
