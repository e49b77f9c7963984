#pragma once
// The screen as text for a person: what is visible in the window, read off the view tree, laid
// out in rows by position, then the tab bar and any alerts.

#include <string>

namespace sim {

class Device;

/// The current screen, several lines, each ending in a newline.
std::string screenText(Device& device);

} // namespace sim
