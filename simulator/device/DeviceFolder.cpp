#include "simulator/device/DeviceFolder.h"

#include <system_error>

namespace sim {

namespace fs = std::filesystem;

std::optional<fs::path> findDeviceSystemFolder() {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        fs::path beside = executable.parent_path().parent_path() / "share" / "lapvane" / "device";
        if (fs::is_directory(beside, error)) {
            return beside.lexically_normal();
        }
    }
#ifdef LAPVANE_BUILD_DEVICE_DIR
    // Programs that are not installed beside the folder (the test programs) use the build tree's.
    fs::path built = LAPVANE_BUILD_DEVICE_DIR;
    if (fs::is_directory(built, error)) {
        return built;
    }
#endif
    return std::nullopt;
}

fs::path programLibraryPath(const std::string& name) {
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return (executable.parent_path().parent_path() / "lib" / "lapvane" / name).lexically_normal();
}

fs::path dynamicLibrariesFolder(const fs::path& systemFolder) {
    return systemFolder / "Library" / "MobileSubstrate" / "DynamicLibraries";
}

fs::path clockBundleFolder(const fs::path& systemFolder) {
    return systemFolder / "Applications" / "MobileTimer.app";
}

} // namespace sim
