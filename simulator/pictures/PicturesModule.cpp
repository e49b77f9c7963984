#include "simulator/pictures/PicturesModule.h"

#include "simulator/device/DeviceFolder.h"

#include <dlfcn.h>

#include <algorithm>
#include <system_error>

namespace sim {

namespace fs = std::filesystem;

namespace {

// The module's table, or why it could not be had; found once per process.
struct LoadedModule {
    const PictureFunctions* functions = nullptr;
    std::string why;
};

LoadedModule load() {
    fs::path path = picturesModulePath();
    // RTLD_LOCAL keeps the module's copy of the renderer's symbols to itself; it shares the
    // platform's libraries (and so its objects) with the program, which has them loaded.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = dlerror();
        return {nullptr, "cannot load the picture module " + path.string() + " (" +
                             (reason != nullptr ? reason : "unknown reason") +
                             "); reinstall lapvane, or build it again"};
    }
    auto entry = reinterpret_cast<PicturesEntry>(dlsym(module, kPicturesEntryName));
    if (entry == nullptr) {
        return {nullptr, "the picture module " + path.string() + " has no entry point " + kPicturesEntryName +
                             "; reinstall lapvane, or build it again"};
    }
    return {entry(), {}};
}

} // namespace

fs::path picturesModulePath() {
    fs::path beside = programLibraryPath("lapvane-pictures.so");
#if defined(LAPVANE_BUILD_TREE) && defined(LAPVANE_BUILD_PICTURES_MODULE)
    // A program of the build tree outside its stage (a test program) uses the stage's module;
    // an installed program never reaches into the build tree.
    std::error_code error;
    fs::path executable = fs::read_symlink("/proc/self/exe", error);
    fs::path tree = LAPVANE_BUILD_TREE;
    bool insideTree =
        std::mismatch(tree.begin(), tree.end(), executable.begin(), executable.end()).first == tree.end();
    if (insideTree && !fs::exists(beside, error)) {
        return LAPVANE_BUILD_PICTURES_MODULE;
    }
#endif
    return beside;
}

std::string writeScreenPicture(const render::Scene& scene, const std::string& path) {
    static const LoadedModule module = load();
    if (module.functions == nullptr) {
        return module.why;
    }
    return module.functions->writePicture(scene, path);
}

} // namespace sim
