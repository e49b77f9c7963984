#pragma once
// The device's wall clock at start, from an ISO 8601 date and time.

#include <optional>
#include <string>
#include <string_view>

namespace sim {

/// Reads "YYYY-MM-DDTHH:MM[:SS[.fff]]" followed by "Z", "+HH:MM", "-HH:MM" or nothing (the time
/// is then a wall-clock time in `zone`, an Olson name such as "Europe/Paris"; empty means UTC)
/// and gives seconds since the Unix epoch; nullopt when the text is not such a date.
std::optional<double> parseStartTime(std::string_view text, const std::string& zone);

/// True when `zone` is a time zone name the device knows ("Europe/Paris", "UTC").
bool isKnownTimeZone(const std::string& zone);
/// True when `locale` names a language the device knows, and a region it knows when it names
/// one ("en_US", "de", "fr_CA"; an encoding such as ".UTF-8" is ignored), or is the C library's
/// plain locale ("C", "POSIX"); "xx_YY" is not.
bool isKnownLocale(const std::string& locale);

} // namespace sim
