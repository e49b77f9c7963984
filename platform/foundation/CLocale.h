#pragma once
// The "C" locale as a locale object, for the C library calls that must use '.' as the decimal
// point whatever locale the process runs under (printing and reading numbers as the platform
// does, which never localises them).

#include <locale.h>

namespace ns {

/// The "C" locale, made once and kept for the life of the process.
locale_t cLocale();

/// Puts the "C" locale in force on the calling thread for its lifetime, then restores the
/// thread's previous locale.
class CLocaleScope {
  public:
    CLocaleScope();
    ~CLocaleScope();
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

  private:
    locale_t previous_;
};

} // namespace ns
