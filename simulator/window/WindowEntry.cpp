// The window module's one exported function, which the program finds with dlsym (see
// WindowModule.h).

#include "simulator/window/DeviceWindow.h"
#include "simulator/window/WindowModule.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) int
lapvane_window_run(const sim::WindowOptions* options, std::ostream* out, std::ostream* err) {
    return sim::runDeviceWindow(*options, *out, *err);
}

// The program looks the entry point up by name and calls it with this type.
static_assert(std::is_same_v<decltype(&lapvane_window_run), sim::WindowEntry>);
