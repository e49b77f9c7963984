#pragma once
// Where the device's system folder is: installed with the program, beside its bin/ folder, in
// the build tree's stage and under an install prefix alike.

#include <filesystem>
#include <optional>
#include <string>

namespace sim {

/// `<folder of the running executable>/../share/lapvane/device` when it exists, else the build
/// tree's device folder when that exists; nullopt when neither does.
std::optional<std::filesystem::path> findDeviceSystemFolder();

/// `<folder of the running executable>/../lib/lapvane/<name>`: a private library or module of the
/// program, in the build tree's stage and under an install prefix alike.
std::filesystem::path programLibraryPath(const std::string& name);

/// The folder of hooking libraries inside a device system folder.
std::filesystem::path dynamicLibrariesFolder(const std::filesystem::path& systemFolder);
/// The Clock application's bundle folder inside a device system folder.
std::filesystem::path clockBundleFolder(const std::filesystem::path& systemFolder);

} // namespace sim
