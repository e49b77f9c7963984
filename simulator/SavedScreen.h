#pragma once
// The Saved tab as an inspector sees it: the fifth tab's view, holding a navigation bar, the
// saved-times table, the laps table and the "no saved times" label. Nothing here depends on the
// code behind the tab; a tab whose view is not loaded reads as absent.

#include <nlohmann/json.hpp>

namespace sim {

class Device;

/// The `saved` field of the state dump; null while the Saved tab's view is not loaded.
nlohmann::ordered_json savedScreenJson(Device& device);

} // namespace sim
