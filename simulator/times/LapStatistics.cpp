#include "simulator/times/LapStatistics.h"

#include "simulator/device/TerminalText.h"

#include "simulator/times/JsonText.h"

#include "addon/store/ClockText.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <sstream>
#include <string_view>
#include <utility>

namespace sim {
namespace {

// A time that is not finite (a stored infinity, NaN) measures nothing: the best, worst and
// average of a list leave it out, and where nothing is left there is no value.
std::vector<float> measurable(const std::vector<float>& values) {
    std::vector<float> finite;
    std::copy_if(values.begin(), values.end(), std::back_inserter(finite),
                 [](float v) { return std::isfinite(v); });
    return finite;
}

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
    if (std::vector<float> laps = measurable(record.laps); !laps.empty()) {
        auto [fastest, slowest] = std::minmax_element(laps.begin(), laps.end());
        out.fastestLap = *fastest;
        out.slowestLap = *slowest;
        out.averageLap = mean(laps);
    }
    double elapsed = 0;
    for (float lap : record.laps) {
        elapsed += static_cast<double>(lap);
        out.splits.push_back(static_cast<float>(elapsed));
    }
    return out;
}

bool measured(const std::optional<float>& time) {
    return time && std::isfinite(*time);
}

// The clock text of a measured time; "-" where there is none, as JSON gives null.
std::string clockTextOr(const std::optional<float>& time) {
    return measured(time) ? lv::clockText(*time) : std::string("-");
}

// A time and its clock text, or two nulls for a time that is absent or not finite.
void timeAndText(JsonText& json, std::string_view key, const std::optional<float>& time) {
    json.raw(",\"").raw(key).raw("\":");
    measured(time) ? json.number(*time) : json.null();
    json.raw(",\"").raw(key).raw("_text\":");
    measured(time) ? json.string(lv::clockText(*time)) : json.null();
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
            if (std::isfinite(record.total)) {
                totals.push_back(record.total);
            }
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
            out << "  best " << clockTextOr(section.bestTotal) << "  worst "
                << clockTextOr(section.worstTotal) << "  average " << clockTextOr(section.averageTotal);
        }
        out << '\n';
        for (const auto& record : section.records) {
            out << "  " << record.position << ". " << record.totalText << "  "
                << record.dateText.value_or("(no date)") << "  Laps: " << record.lapCount << '\n';
            if (record.lapCount == 0) {
                continue;
            }
            out << "     fastest " << clockTextOr(record.fastestLap) << "  slowest "
                << clockTextOr(record.slowestLap) << "  average " << clockTextOr(record.averageLap)
                << "\n     splits";
            for (float split : record.splits) {
                out << ' ' << clockTextOr(split);
            }
            out << '\n';
        }
    }
    return out.str();
}

std::string statisticsJsonText(const std::vector<SectionStatistics>& sections) {
    JsonText json;
    json.raw(R"({"sections":[)");
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const SectionStatistics& section = sections[s];
        json.raw(s == 0 ? R"({"name":)" : R"(,{"name":)").string(section.name);
        json.raw(R"(,"count":)").count(section.records.size());
        timeAndText(json, "best_total", section.bestTotal);
        timeAndText(json, "worst_total", section.worstTotal);
        timeAndText(json, "average_total", section.averageTotal);
        json.raw(R"(,"records":[)");
        for (std::size_t r = 0; r < section.records.size(); ++r) {
            const RecordStatistics& record = section.records[r];
            json.raw(r == 0 ? R"({"position":)" : R"(,{"position":)").count(record.position);
            json.raw(R"(,"total":)").number(record.total);
            json.raw(R"(,"total_text":)").string(record.totalText);
            json.raw(R"(,"lap_count":)").count(record.lapCount);
            timeAndText(json, "fastest_lap", record.fastestLap);
            timeAndText(json, "slowest_lap", record.slowestLap);
            timeAndText(json, "average_lap", record.averageLap);
            json.raw(R"(,"splits":[)");
            for (std::size_t i = 0; i < record.splits.size(); ++i) {
                json.raw(i == 0 ? "" : ",").number(record.splits[i]);
            }
            json.raw(R"(],"split_texts":[)");
            for (std::size_t i = 0; i < record.splits.size(); ++i) {
                json.raw(i == 0 ? "" : ",");
                std::isfinite(record.splits[i]) ? json.string(lv::clockText(record.splits[i])) : json.null();
            }
            json.raw("]}");
        }
        json.raw("]}");
    }
    json.raw("]}");
    return std::move(json.text());
}

} // namespace sim
