// The picture module's one exported function, which the program finds with dlsym (see
// PicturesModule.h).

#include "simulator/pictures/PicturesModule.h"
#include "simulator/render/Picture.h"

#include <type_traits>

namespace {

const sim::PictureFunctions kFunctions{&render::writePicture};

} // namespace

extern "C" __attribute__((visibility("default"))) const sim::PictureFunctions* lapvane_pictures_functions() {
    return &kFunctions;
}

// The program looks the entry point up by name and calls it with this type.
static_assert(std::is_same_v<decltype(&lapvane_pictures_functions), sim::PicturesEntry>);
