#pragma once
// Dates in the XML property-list form: `YYYY-MM-DDTHH:MM:SSZ` in UTC on the proleptic Gregorian
// calendar, whole seconds, counted from the platform's reference date 2001-01-01T00:00:00Z.

#include <optional>
#include <string>
#include <string_view>

namespace plist {

/// True for a date the XML form can carry: finite and within about 30 million years of the
/// reference date. The readers refuse other dates, so that whatever they read can be written.
[[nodiscard]] bool isWritableDate(double secondsSinceReferenceDate);

/// The XML text of a date given in seconds since the reference date. The fraction of a second
/// is dropped toward the past (1999-12-31T23:59:59.5Z writes as 23:59:59), as the platform's
/// calendar breakdown does. Nothing for a date that is not finite or lies beyond about 30
/// million years.
[[nodiscard]] std::optional<std::string> formatXmlDate(double secondsSinceReferenceDate);
/// Appends the text formatXmlDate gives to `out`; false, appending nothing, where it gives none.
bool appendXmlDate(std::string& out, double secondsSinceReferenceDate);

/// Seconds since the reference date for exactly `[-]Y-MM-DDTHH:MM:SSZ` (year of 1 to 9 digits,
/// every other field two digits and in its range, the day valid for its month, the date
/// writable); surrounding XML whitespace is allowed, anything else gives nothing.
[[nodiscard]] std::optional<double> parseXmlDate(std::string_view text);

} // namespace plist
