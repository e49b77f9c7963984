#include "simulator/window/WindowModule.h"

#include "simulator/device/DeviceFolder.h"

#include <dlfcn.h>

#include <string>

namespace sim {

namespace fs = std::filesystem;

fs::path windowModulePath() {
    return programLibraryPath("lapvane-window.so");
}

int openDeviceWindow(const WindowOptions& options, std::ostream& out, std::ostream& err) {
    fs::path path = windowModulePath();
    // The module stays loaded until the process ends: GTK cannot be unloaded, and the device's
    // objects may outlive the window. RTLD_LOCAL keeps its copies of the simulator's symbols
    // out of the way of the add-on, which the device loads afterwards.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        err << "lapvane window: cannot load the window module " << path.string() << " ("
            << (reason != nullptr ? reason : "unknown reason")
            << "); `lapvane sim` drives the same device without it\n";
        return 1;
    }
    auto entry = reinterpret_cast<WindowEntry>(dlsym(module, kWindowEntryName));
    if (entry == nullptr) {
        err << "lapvane window: the window module " << path.string() << " has no entry point "
            << kWindowEntryName << "\n";
        return 1;
    }
    return entry(&options, &out, &err);
}

} // namespace sim
