#pragma once
// The saved-times file as `lapvane times` shows it: each section with its records in the texts the
// Saved tab shows, and the same as one JSON document.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

/// One record, as the Saved tab reads it.
struct ReportedRecord {
    float total = 0;
    std::string totalText;
    /// ISO 8601 in UTC, absent when the record has no date.
    std::optional<std::string> date;
    std::optional<std::string> dateText;
    float lastLap = 0;
    std::vector<float> laps;
    std::vector<std::string> lapTexts;
};

struct ReportedSection {
    std::string name;
    std::vector<ReportedRecord> records;
};

/// What reading the file gave.
struct SavedTimesReport {
    enum class Status { Ok, Missing, Unreadable };
    Status status = Status::Missing;
    std::string reason;
    std::vector<ReportedSection> sections;
};

/// Reads the saved-times file at `path` without changing it. Dates are written with the pattern
/// "EEE, MMM d, y" under the region in force.
SavedTimesReport readSavedTimesReport(const std::string& path);
/// The same for the bytes of a saved-times file read elsewhere (standard input).
SavedTimesReport savedTimesReportOfBytes(std::string_view bytes);

/// The text of `lapvane times list`.
std::string listText(const SavedTimesReport& report);
/// The document of `lapvane times export --format json`, keys in the documented order, without
/// blanks.
std::string exportJsonText(const SavedTimesReport& report);

} // namespace sim
