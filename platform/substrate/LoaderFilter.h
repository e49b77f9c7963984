#pragma once
// Which processes a hooking library is loaded into: the filter property list that sits beside
// the library, evaluated against the process the loader runs in.

#include "platform/runtime/Forward.h"

#include <string>
#include <vector>

namespace ms {

/// What the loader knows of the process it runs in.
struct LoaderProcess {
    /// Identifiers of the bundles loaded in the process: the application's and its frameworks'.
    std::vector<std::string> bundleIdentifiers;
    /// Executable names (the last component of argv[0]) the process answers to.
    std::vector<std::string> executableNames;
    /// The system's CoreFoundation version number; 847.20 is the phone's system of that era.
    double coreFoundationVersion = 847.20;
};

/// The loader's decision for one library and the reason, for traces and reports.
struct FilterDecision {
    bool load = false;
    std::string reason;
};

/// Evaluates a library's filter property list. `root` is the parsed file, or nil when there is
/// no filter file (the library then loads everywhere). Class names are looked up in the current
/// runtime, so the process's classes must be registered before the loader runs.
FilterDecision evaluateFilter(const id& root, const LoaderProcess& process);

} // namespace ms
