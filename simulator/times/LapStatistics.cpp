#include "simulator/times/LapStatistics.h"

#include "simulator/device/TerminalText.h"

#include "simulator/times/ShortestNumber.h"

#include "addon/store/ClockText.h"

#include <algorithm>
#include <numeric>
#include <sstream>

namespace sim {
namespace {

using Json = nlohmann::ordered_json;

// Sums and means are taken in double precision over the single-precision values, then given
// back in single precision, the precision every time is read and shown in.
float mean(const std::vector<float>& values) {
    double sum = std::accumulate(values.begin(), values.end(), 0.0,
                                 [](double acc, float v) { return acc + static_cast<double>(v); });
    return static_cast<float>(sum / static_cast<double>(values.size()));
}

RecordStatistics recordStatistics(const ReportedRecord& record, std::size_t position) {
    RecordStatistics out;
    out.position = position;
    out.total = record.total;
    out.totalText = record.totalText;
    out.dateText = record.dateText;
    out.lapCount = record.laps.size();
    if (record.laps.empty()) {
        return out;
    }
    auto [fastest, slowest] = std::minmax_element(record.laps.begin(), record.laps.end());
    out.fastestLap = *fastest;
    out.slowestLap = *slowest;
    out.averageLap = mean(record.laps);
    double elapsed = 0;
    for (float lap : record.laps) {
        elapsed += static_cast<double>(lap);
        out.splits.push_back(static_cast<float>(elapsed));
    }
    return out;
}

std::string clockTextOr(const std::optional<float>& time, const char* none) {
    return time ? lv::clockText(*time) : std::string(none);
}

Json timeJson(const std::optional<float>& time) {
    return time ? Json(shortestDouble(*time)) : Json(nullptr);
}

Json timeTextJson(const std::optional<float>& time) {
    return time ? Json(lv::clockText(*time)) : Json(nullptr);
}

} // namespace

std::vector<SectionStatistics> lapStatistics(const SavedTimesReport& report) {
    std::vector<SectionStatistics> sections;
    for (const auto& section : report.sections) {
        SectionStatistics out;
        out.name = section.name;
        std::vector<float> totals;
        for (const auto& record : section.records) {
            out.records.push_back(recordStatistics(record, out.records.size() + 1));
            totals.push_back(record.total);
        }
        if (!totals.empty()) {
            auto [best, worst] = std::minmax_element(totals.begin(), totals.end());
            out.bestTotal = *best;
            out.worstTotal = *worst;
            out.averageTotal = mean(totals);
        }
        sections.push_back(std::move(out));
    }
    return sections;
}

std::string statisticsText(const std::vector<SectionStatistics>& sections) {
    std::ostringstream out;
    if (sections.empty()) {
        out << "No saved times.\n";
        return out.str();
    }
    for (const auto& section : sections) {
        out << terminalText(section.name) << " (" << section.records.size()
            << (section.records.size() == 1 ? " record" : " records") << ")";
        if (section.bestTotal) {
            out << "  best " << lv::clockText(*section.bestTotal) << "  worst "
                << lv::clockText(*section.worstTotal) << "  average " << lv::clockText(*section.averageTotal);
        }
        out << '\n';
        for (const auto& record : section.records) {
            out << "  " << record.position << ". " << record.totalText << "  "
                << record.dateText.value_or("(no date)") << "  Laps: " << record.lapCount << '\n';
            if (record.lapCount == 0) {
                continue;
            }
            out << "     fastest " << clockTextOr(record.fastestLap, "-") << "  slowest "
                << clockTextOr(record.slowestLap, "-") << "  average " << clockTextOr(record.averageLap, "-")
                << "\n     splits";
            for (float split : record.splits) {
                out << ' ' << lv::clockText(split);
            }
            out << '\n';
        }
    }
    return out.str();
}

Json statisticsJson(const std::vector<SectionStatistics>& sections) {
    Json list = Json::array();
    for (const auto& section : sections) {
        Json records = Json::array();
        for (const auto& record : section.records) {
            Json splits = Json::array();
            Json splitTexts = Json::array();
            for (float split : record.splits) {
                splits.push_back(shortestDouble(split));
                splitTexts.push_back(lv::clockText(split));
            }
            records.push_back({{"position", record.position},
                               {"total", shortestDouble(record.total)},
                               {"total_text", record.totalText},
                               {"lap_count", record.lapCount},
                               {"fastest_lap", timeJson(record.fastestLap)},
                               {"fastest_lap_text", timeTextJson(record.fastestLap)},
                               {"slowest_lap", timeJson(record.slowestLap)},
                               {"slowest_lap_text", timeTextJson(record.slowestLap)},
                               {"average_lap", timeJson(record.averageLap)},
                               {"average_lap_text", timeTextJson(record.averageLap)},
                               {"splits", splits},
                               {"split_texts", splitTexts}});
        }
        list.push_back({{"name", section.name},
                        {"count", section.records.size()},
                        {"best_total", timeJson(section.bestTotal)},
                        {"best_total_text", timeTextJson(section.bestTotal)},
                        {"worst_total", timeJson(section.worstTotal)},
                        {"worst_total_text", timeTextJson(section.worstTotal)},
                        {"average_total", timeJson(section.averageTotal)},
                        {"average_total_text", timeTextJson(section.averageTotal)},
                        {"records", records}});
    }
    return {{"sections", list}};
}

} // namespace sim
