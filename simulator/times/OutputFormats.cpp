#include "simulator/times/OutputFormats.h"

namespace sim {

const std::vector<OutputField>& csvColumns() {
    static const std::vector<OutputField> columns = {
        {"section", "the section's name, exactly as stored"},
        {"position", "the result's place in its section, from 1"},
        {"date", "ISO 8601 in UTC; empty when the record has no date"},
        {"date_text", "the date as the Saved tab shows it, under --locale and --tz"},
        {"total", "the total in seconds, the shortest decimal of the single-precision value, without an "
                  "exponent; empty when it is not finite"},
        {"total_text", "\"Time: \" and the clock text"},
        {"lap_count", "how many laps the result has"},
        {"laps", "the laps in seconds, in order, each written as the total is, joined by \";\""},
    };
    return columns;
}

const std::vector<OutputField>& exportRecordFields() {
    static const std::vector<OutputField> fields = {
        {"total", "the total in seconds (null when not finite)"},
        {"total_text", "\"Time: \" and the clock text"},
        {"date", "ISO 8601 in UTC, or null"},
        {"date_text", "the date as the Saved tab shows it, or null"},
        {"last_lap", "the last lap in seconds"},
        {"laps", "the laps in seconds, in order"},
        {"lap_texts", "the laps' clock texts"},
    };
    return fields;
}

const std::vector<OutputField>& statsSectionFields() {
    static const std::vector<OutputField> fields = {
        {"name", "the section's name"},
        {"count", "how many results it holds"},
        {"best_total", "the shortest finite total, or null"},
        {"best_total_text", "its clock text, or null"},
        {"worst_total", "the longest finite total, or null"},
        {"worst_total_text", "its clock text, or null"},
        {"average_total", "the mean of the finite totals, or null"},
        {"average_total_text", "its clock text, or null"},
        {"records", "each result, as below"},
    };
    return fields;
}

const std::vector<OutputField>& statsRecordFields() {
    static const std::vector<OutputField> fields = {
        {"position", "the result's place in its section, from 1"},
        {"total", "the total in seconds (null when not finite)"},
        {"total_text", "\"Time: \" and the clock text"},
        {"lap_count", "how many laps"},
        {"fastest_lap", "the shortest finite lap, or null"},
        {"fastest_lap_text", "its clock text, or null"},
        {"slowest_lap", "the longest finite lap, or null"},
        {"slowest_lap_text", "its clock text, or null"},
        {"average_lap", "the mean of the finite laps, or null"},
        {"average_lap_text", "its clock text, or null"},
        {"splits", "the time at the end of each lap: the laps summed up to it"},
        {"split_texts", "their clock texts (null where not finite)"},
    };
    return fields;
}

const std::vector<OutputField>& dumpFields() {
    static const std::vector<OutputField> fields = {
        {"time", "virtual seconds since the device started, to the nanosecond"},
        {"app", "\"clock\" while the Clock application runs, else null"},
        {"tab", "{\"index\", \"titles\"} of the tab bar, or null"},
        {"stopwatch", "{\"running\", \"laps\", \"save_button\"}, or null"},
        {"saved", "the Saved tab's bars, tables and rows, or null until it is loaded"},
        {"alerts", "the alerts, front last: title, message, buttons, text, placeholder, state"},
        {"launch_image", "the last launch image SpringBoard was given, or null"},
        {"launch_image_shown", "the launch image on screen now, or null"},
    };
    return fields;
}

} // namespace sim
