#include "simulator/times/SavedTimesReport.h"

#include "simulator/device/TerminalText.h"

#include "simulator/times/JsonText.h"
#include "simulator/times/ShortestNumber.h"

#include "addon/store/ClockText.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesDocument.h"
#include "platform/foundation/NSDateFormatter.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListDate.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/runtime/Runtime.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <utility>

namespace sim {
namespace {

std::string isoDate(const NSDate& date) {
    // A four-digit year is written as a property list writes its dates: the same text, without
    // the C library's calendar and printf.
    std::string text;
    if (plist::appendXmlDate(text, date.timeIntervalSinceReferenceDate()) && text.size() == 20 &&
        text[0] != '-') {
        return text;
    }
    std::time_t seconds = static_cast<std::time_t>(std::floor(date.timeIntervalSince1970()));
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    // ISO 8601 writes the year with four digits at least (0001), a sign before years before 1.
    long long year = static_cast<long long>(utc.tm_year) + 1900;
    char printed[48];
    std::snprintf(printed, sizeof printed, "%s%04lld-%02d-%02dT%02d:%02d:%02dZ", year < 0 ? "-" : "",
                  year < 0 ? -year : year, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return printed;
}

ReportedRecord reportRecord(const id& record, const NSDateFormatter& formatter) {
    lv::SavedTimeView view = lv::readSavedTime(record);
    ReportedRecord out;
    out.total = view.total;
    out.totalText = lv::totalText(view.total);
    out.lastLap = view.lastLap;
    out.lapTexts.reserve(view.laps.size());
    for (float lap : view.laps) {
        out.lapTexts.push_back(lv::lapText(lap));
    }
    out.laps = std::move(view.laps);
    if (view.date) {
        out.date = isoDate(*view.date);
        out.dateText = formatter.stringFromDate(view.date)->str();
    }
    return out;
}

} // namespace

namespace {

SavedTimesReport reportOf(plist::ReadResult read) {
    SavedTimesReport report;
    if (read.status == plist::ReadStatus::Missing) {
        report.status = SavedTimesReport::Status::Missing;
        return report;
    }
    if (!read.ok()) {
        // Damaged or not readable at all: either way there is nothing to list.
        report.status = SavedTimesReport::Status::Unreadable;
        report.reason = read.reason;
        return report;
    }
    report.status = SavedTimesReport::Status::Ok;
    auto formatter = rt::make<NSDateFormatter>();
    formatter->setDateFormat("EEE, MMM d, y");
    // The report only reads: the values stay immutable (a document's empty containers are then
    // one object each), and the document gets a root of its own over them.
    lv::SavedTimesDocument document(NSMutableDictionary::with(read.dictionary->entries()));
    for (const auto& name : document.sectionNames()) {
        ReportedSection section{name, {}};
        // The array is held for the loop: a section without records gets a new one, which
        // nothing else owns.
        const auto records = document.recordsOrEmpty(name);
        for (const id& record : records->items()) {
            section.records.push_back(reportRecord(record, *formatter));
        }
        report.sections.push_back(std::move(section));
    }
    return report;
}

} // namespace

SavedTimesReport readSavedTimesReport(const std::string& path) {
    return reportOf(plist::readDictionaryFile(path, plist::Mutability::Immutable));
}

SavedTimesReport savedTimesReportOfBytes(std::string_view bytes) {
    return reportOf(plist::readDictionary(bytes, plist::Mutability::Immutable));
}

std::string listText(const SavedTimesReport& report) {
    std::ostringstream out;
    if (report.sections.empty()) {
        out << "No saved times.\n";
        return out.str();
    }
    for (const auto& section : report.sections) {
        out << terminalText(section.name) << " (" << section.records.size()
            << (section.records.size() == 1 ? " record" : " records") << ")\n";
        for (const auto& record : section.records) {
            out << "  " << record.totalText << "  " << record.dateText.value_or("(no date)")
                << "  Laps: " << record.laps.size() << '\n';
            // The lap texts on a line of their own, which a record without laps does not have.
            if (!record.lapTexts.empty()) {
                out << "   ";
                for (const auto& lap : record.lapTexts) {
                    out << ' ' << lap;
                }
                out << '\n';
            }
        }
    }
    return out.str();
}

std::string exportJsonText(const SavedTimesReport& report) {
    JsonText json;
    // Room for the whole text at once (a record's keys and texts take about 200 bytes, a lap's
    // number and text about 20), instead of copying it at every doubling as it grows.
    std::size_t expected = 64;
    for (const auto& section : report.sections) {
        expected += 64 + section.name.size();
        for (const auto& record : section.records) {
            expected += 200 + 20 * record.laps.size();
        }
    }
    json.text().reserve(expected);
    json.raw(R"({"sections":[)");
    bool firstSection = true;
    for (const auto& section : report.sections) {
        json.raw(firstSection ? R"({"name":)" : R"(,{"name":)").string(section.name).raw(R"(,"records":[)");
        firstSection = false;
        bool firstRecord = true;
        for (const auto& record : section.records) {
            json.raw(firstRecord ? R"({"total":)" : R"(,{"total":)").number(record.total);
            firstRecord = false;
            json.raw(R"(,"total_text":)").string(record.totalText);
            json.raw(R"(,"date":)");
            record.date ? json.string(*record.date) : json.null();
            json.raw(R"(,"date_text":)");
            record.dateText ? json.string(*record.dateText) : json.null();
            json.raw(R"(,"last_lap":)").number(record.lastLap);
            json.raw(R"(,"laps":[)");
            for (std::size_t i = 0; i < record.laps.size(); ++i) {
                json.raw(i == 0 ? "" : ",").number(record.laps[i]);
            }
            json.raw(R"(],"lap_texts":[)");
            for (std::size_t i = 0; i < record.lapTexts.size(); ++i) {
                json.raw(i == 0 ? "" : ",").string(record.lapTexts[i]);
            }
            json.raw("]}");
        }
        json.raw("]}");
    }
    json.raw("]}");
    return std::move(json.text());
}

} // namespace sim
