#pragma once
// Where the device's home folder is when the user names none.

#include <string>

namespace sim {

/// `$XDG_DATA_HOME/lapvane/home`, or `~/.local/share/lapvane/home` when XDG_DATA_HOME is unset
/// or empty.
std::string defaultDeviceHome();

} // namespace sim
