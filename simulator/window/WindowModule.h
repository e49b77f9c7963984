#pragma once
// `lapvane window` lives in a module of its own (lib/lapvane/lapvane-window.so), the one part of
// the program that links GTK, so every other command starts without loading GTK. The program
// defines the window's options itself (its `--help` needs no GTK) and loads the module only to
// open the window.

#include "simulator/window/DeviceWindow.h"

#include <filesystem>
#include <ostream>

namespace sim {

/// The module's one entry point: runs `runDeviceWindow` with these arguments. Defined in
/// WindowEntry.cpp, inside the module; the program finds it by `kWindowEntryName`.
using WindowEntry = int (*)(const WindowOptions* options, std::ostream* out, std::ostream* err);

/// The name the module exports its entry point under.
inline constexpr const char* kWindowEntryName = "lapvane_window_run";

/// `<folder of the running executable>/../lib/lapvane/lapvane-window.so`, in the build tree's
/// stage and under an install prefix alike.
std::filesystem::path windowModulePath();

/// Loads the window module and runs the window; returns the exit status. When the module cannot
/// be loaded it says so in one line on `err`, naming the file and the loader's reason, and
/// returns 1.
int openDeviceWindow(const WindowOptions& options, std::ostream& out, std::ostream& err);

} // namespace sim
