#pragma once
// The manual page lapvane(1), in the man macros, made from the command line's model and the
// script's command table.

#include "simulator/manual/CommandLineModel.h"
#include "simulator/script/CommandTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace sim::manual {

/// A term and what it means: a window's key, an output's field, an example's command line.
struct ManualEntry {
    std::string term;
    std::string text;
};

/// A list of entries under a heading of its own, with a sentence before them.
struct ManualList {
    std::string heading;
    std::string introduction;
    std::vector<ManualEntry> entries;
};

/// What the page says beyond the command line and the script's commands.
struct ManualFacts {
    /// The program's version, for the page's header.
    std::string version;
    /// The device's home folder when --home is not given.
    std::string defaultHome;
    /// The saved-times file's name inside the home's Library/Preferences.
    std::string savedTimesFileName;
    /// The window's keys and pointer gestures (the WINDOW section).
    std::vector<ManualList> window;
    /// The machine-readable outputs' fields (the OUTPUT FORMATS section).
    std::vector<ManualList> outputFormats;
    /// Command lines (the term) with what each does (the EXAMPLES section).
    std::vector<ManualEntry> examples;
};

/// `text` as roff text: backslashes and hyphens escaped, a leading dot or quote made harmless,
/// characters beyond ASCII written as \[uXXXX].
std::string roffText(std::string_view text);

/// The whole page.
std::string manualPage(const std::vector<CommandModel>& commands,
                       const std::vector<CommandSpec>& scriptCommands, const ManualFacts& facts);

} // namespace sim::manual
