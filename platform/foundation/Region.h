#pragma once
// The device's "current" locale and time zone, which date formatters and bundles use when they
// are given none. The simulated device (or a test) puts its own in force with a Scope; otherwise
// they come from the environment: LC_ALL, LC_TIME or LANG for the locale ("de_DE.UTF-8" gives
// "de_DE"; unset, "C" or "POSIX" give "en_US", the phone's own default) and TZ or the host's
// zone for the time zone.

#include <string>

namespace ns {

/// A locale identifier and a time zone name; an empty field means "as the environment says".
struct Region {
    /// ICU / platform locale identifier such as "en_US" or "de_DE".
    std::string localeIdentifier;
    /// Olson time zone name such as "Europe/Berlin".
    std::string timeZoneName;

    /// The region in force: the innermost Scope's fields, each filled from the environment when
    /// empty or when no Scope is in force.
    static Region current();
    /// The region the environment describes.
    static Region fromEnvironment();

    /// Puts a region in force for its lifetime, restoring the previous one after.
    class Scope {
      public:
        explicit Scope(Region region);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        std::string localeIdentifier_;
        std::string timeZoneName_;
        Scope* previous_;
        friend struct Region;
    };
};

} // namespace ns
