#pragma once
// Lap statistics of the saved times: for each result its fastest, slowest and average lap and
// the cumulative time at each lap (the splits); for each section the count and the best, worst
// and average total. Times are the single-precision values the Saved tab reads, and their texts
// are its clock texts.

#include "simulator/times/SavedTimesReport.h"

#include <optional>
#include <string>
#include <vector>

namespace sim {

/// The statistics of one saved result.
struct RecordStatistics {
    /// 1 for the section's first record.
    std::size_t position = 0;
    float total = 0;
    std::string totalText;
    std::optional<std::string> dateText;
    std::size_t lapCount = 0;
    /// Absent when the result has no laps.
    std::optional<float> fastestLap;
    std::optional<float> slowestLap;
    std::optional<float> averageLap;
    /// The time at the end of each lap: the laps summed up to it.
    std::vector<float> splits;
};

/// The statistics of one section.
struct SectionStatistics {
    std::string name;
    std::vector<RecordStatistics> records;
    /// Absent when the section has no records.
    std::optional<float> bestTotal;
    std::optional<float> worstTotal;
    std::optional<float> averageTotal;
};

/// The statistics of every section of `report`, in order.
std::vector<SectionStatistics> lapStatistics(const SavedTimesReport& report);

/// The text of `lapvane times stats`.
std::string statisticsText(const std::vector<SectionStatistics>& sections);
/// The document of `lapvane times stats --format json`, keys in the documented order, written as
/// the export writes its own (JsonText).
std::string statisticsJsonText(const std::vector<SectionStatistics>& sections);

} // namespace sim
