#pragma once
// The EXAMPLES of the manual page: command lines a person would type, each with what it does.
// The tests check every one against the command line the program parses.

#include "simulator/manual/ManualPage.h"

#include <vector>

namespace sim::manual {

/// The examples, in the order the page shows them; each term is a shell command line.
const std::vector<ManualEntry>& manualExamples();

} // namespace sim::manual
