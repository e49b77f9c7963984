#pragma once
// The fields of the program's machine-readable outputs, in the order they are written, with what
// each holds: the CSV export's columns, the JSON export's and the statistics' keys, and the state
// dump's. The CSV writer takes its header from here, the manual page its OUTPUT FORMATS section,
// and the tests check the other writers' keys against these lists, so the three cannot part.

#include <string>
#include <vector>

namespace sim {

/// One field of an output: its name as written, and what it holds.
struct OutputField {
    std::string name;
    std::string meaning;
};

/// The columns of `lapvane times export --format csv`, one row per saved result.
const std::vector<OutputField>& csvColumns();
/// The keys of a record in `lapvane times export --format json` (within {"sections": [{"name",
/// "records": [...]}]}).
const std::vector<OutputField>& exportRecordFields();
/// The keys of a section in `lapvane times stats --format json`.
const std::vector<OutputField>& statsSectionFields();
/// The keys of a record in `lapvane times stats --format json`.
const std::vector<OutputField>& statsRecordFields();
/// The keys of the object `dump` prints.
const std::vector<OutputField>& dumpFields();

} // namespace sim
