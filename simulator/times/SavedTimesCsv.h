#pragma once
// The saved times as CSV for a spreadsheet: one row per saved result, after a header row, quoted
// as RFC 4180 says, so section names holding commas, quotes or line breaks come back whole.

#include "simulator/times/SavedTimesReport.h"

#include <string>

namespace sim {

/// The text of `lapvane times export --format csv`: the header row
/// `section,position,date,date_text,total,total_text,lap_count,laps`, then one row per record in
/// section order, lines ending in CR LF.
std::string exportCsv(const SavedTimesReport& report);

/// One field as RFC 4180 writes it: quoted, with quotes doubled, when it holds a comma, a quote,
/// a carriage return or a line feed; as it is otherwise.
std::string csvField(const std::string& text);

} // namespace sim
