#include "tests/platform/foundation/CommaLocale.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace testing_support {
namespace {

locale_t tryLocale(const char* name) {
    return newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
}

// Builds de_DE.UTF-8 under the build tree once; test processes may run at the same time, so each
// builds into its own folder and renames it into place.
locale_t builtLocale() {
    namespace fs = std::filesystem;
    const fs::path definition = "/usr/share/i18n/locales/de_DE";
    std::error_code error;
    if (!fs::exists(definition, error)) {
        return nullptr;
    }
    const fs::path root = fs::path(LAPVANE_BUILD_DIR) / "test-locales";
    const fs::path target = root / "de_DE.UTF-8";
    if (!fs::exists(target / "LC_NUMERIC", error)) {
        fs::create_directories(root, error);
        const fs::path scratch = root / ("building-" + std::to_string(getpid()));
        const std::string command = "localedef -i de_DE -f UTF-8 '" + scratch.string() + "' >/dev/null 2>&1";
        // localedef reports warnings with a non-zero status even when it wrote the locale, so
        // success is judged by the files it leaves.
        [[maybe_unused]] const int status = std::system(command.c_str());
        if (fs::exists(scratch / "LC_NUMERIC", error)) {
            fs::rename(scratch, target, error);
        }
        fs::remove_all(scratch, error);
    }
    const char* previous = std::getenv("LOCPATH");
    const std::optional<std::string> saved = previous ? std::optional<std::string>(previous) : std::nullopt;
#if defined(__SANITIZE_ADDRESS__)
    // glibc keeps a copy of the LOCPATH search list it never frees.
    const __lsan::ScopedDisabler glibcKeepsTheSearchPath;
#endif
    setenv("LOCPATH", root.c_str(), 1);
    locale_t locale = tryLocale("de_DE.UTF-8");
    if (saved) {
        setenv("LOCPATH", saved->c_str(), 1);
    } else {
        unsetenv("LOCPATH");
    }
    return locale;
}

} // namespace

locale_t commaLocale() {
    static const locale_t locale = [] {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
            if (locale_t found = tryLocale(name)) {
                return found;
            }
        }
        return builtLocale();
    }();
    return locale;
}

} // namespace testing_support
