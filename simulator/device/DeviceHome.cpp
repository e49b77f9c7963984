#include "simulator/device/DeviceHome.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace sim {

std::string defaultDeviceHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && *xdg != '\0') {
        return std::string(xdg) + "/lapvane/home";
    }
    const char* home = std::getenv("HOME");
    std::string base = home != nullptr && *home != '\0' ? home : "";
    if (base.empty()) {
        if (const passwd* entry = getpwuid(getuid())) {
            base = entry->pw_dir;
        }
    }
    return base + "/.local/share/lapvane/home";
}

} // namespace sim
