// The library's one static initialiser: it runs when the loader opens the library, before the
// host's own start-up code, and installs every hook.

#include "addon/hooks/HookInstaller.h"

namespace {
[[gnu::constructor]] void lapvaneLoaded() {
    lv::installHooks();
}
} // namespace
