#pragma once
// A C library locale whose decimal point is a comma, for checking that number text never follows
// the process locale. Not every machine has one installed; when none can be found or built the
// caller skips its test.

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
