#pragma once
// Pictures of the screen are drawn in a module of their own (lib/lapvane/lapvane-pictures.so),
// the one part of the program besides the window that links the drawing libraries: cairo,
// pango, and through them fontconfig, harfbuzz and the X client libraries. Every command that
// draws nothing (`--version`, `times`, a `sim` script without `shot`) starts without loading
// them; the first picture loads the module, and it stays loaded until the process ends.

#include "simulator/render/Scene.h"

#include <filesystem>
#include <string>

namespace sim {

/// What the module offers, in one table that its entry point returns.
struct PictureFunctions {
    /// Writes a picture of `scene` to `path`: SVG when the name ends in ".svg", else PNG.
    /// Returns why it could not, empty when it did.
    std::string (*writePicture)(const render::Scene& scene, const std::string& path);
};

/// The module's one entry point. Defined in module/PicturesEntry.cpp, inside the module; the
/// program finds it by `kPicturesEntryName`.
using PicturesEntry = const PictureFunctions* (*)();

/// The name the module exports its entry point under.
inline constexpr const char* kPicturesEntryName = "lapvane_pictures_functions";

/// `<folder of the running executable>/../lib/lapvane/lapvane-pictures.so` when that file is
/// there (the build tree's stage and an install prefix alike). A program inside the build tree
/// that has no module beside it (a test program) gets the stage's.
std::filesystem::path picturesModulePath();

/// Writes a picture of `scene` to `path` through the module, loading it on first use. Returns
/// why it could not, empty when it did; a module that cannot be loaded is one such reason,
/// naming the file and the loader's reason.
std::string writeScreenPicture(const render::Scene& scene, const std::string& path);

} // namespace sim
