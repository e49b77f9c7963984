#pragma once
// A C library locale whose decimal point is a comma, for checking that number text never follows
// the process locale. scripts/install-deps generates de_DE.UTF-8; without it the locale is built
// from the system's locale sources under the build tree, and a test that still finds none fails.

#include <locale.h>

namespace testing_support {

/// A locale with ',' as its decimal point, or (locale_t)0 when the machine has none and cannot
/// build one with localedef.
locale_t commaLocale();

/// Puts a locale in force on the calling thread for its lifetime.
class ThreadLocaleScope {
  public:
    explicit ThreadLocaleScope(locale_t locale) : previous_(uselocale(locale)) {}
    ~ThreadLocaleScope() { uselocale(previous_); }
    ThreadLocaleScope(const ThreadLocaleScope&) = delete;
    ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

  private:
    locale_t previous_;
};

} // namespace testing_support
