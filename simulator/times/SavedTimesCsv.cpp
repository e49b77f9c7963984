#include "simulator/times/SavedTimesCsv.h"

#include "simulator/times/OutputFormats.h"
#include "simulator/times/ShortestNumber.h"

namespace sim {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::string exportCsv(const SavedTimesReport& report) {
    constexpr const char* kLineEnd = "\r\n";
    std::string out;
    for (const auto& column : csvColumns()) {
        out += (out.empty() ? "" : ",") + column.name;
    }
    out += kLineEnd;
    for (const auto& section : report.sections) {
        std::size_t position = 0;
        for (const auto& record : section.records) {
            std::string laps;
            for (std::size_t i = 0; i < record.laps.size(); ++i) {
                laps += (i == 0 ? "" : ";") + plainDecimalText(record.laps[i]);
            }
            out += csvField(section.name) + ',' + std::to_string(++position) + ',' +
                   record.date.value_or("") + ',' + csvField(record.dateText.value_or("")) + ',' +
                   plainDecimalText(record.total) + ',' + csvField(record.totalText) + ',' +
                   std::to_string(record.laps.size()) + ',' + laps + kLineEnd;
        }
    }
    return out;
}

} // namespace sim
