#pragma once
// The script `lapvane demo` runs.

#include <string>

namespace sim {

/// The demonstration: the stopwatch, the Save button, the Saved tab and its editing.
const std::string& demoScript();

} // namespace sim
