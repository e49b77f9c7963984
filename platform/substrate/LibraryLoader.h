#pragma once
// The hooking framework's loader: at process start it walks the folder of hooking libraries,
// evaluates each one's filter property list against the process and opens the ones chosen, so
// their static initialisers run before the process's own start-up code.

#include "platform/substrate/LoaderFilter.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ms {

/// What became of one library in the folder.
struct LibraryOutcome {
    enum class Status {
        /// Opened: its initialisers have run.
        Loaded,
        /// Its filter does not choose this process.
        NotChosen,
        /// Its filter file exists but cannot be read; a damaged filter keeps the library out.
        FilterUnreadable,
        /// Chosen, but the library could not be opened.
        OpenFailed,
    };
    std::filesystem::path path;
    Status status = Status::NotChosen;
    bool loaded = false;
    /// Why it was loaded or skipped: the filter's verdict, or the opener's error.
    std::string reason;
};

/// Opens one library; returns the error text, or nullopt once it is loaded.
using LibraryOpener = std::function<std::optional<std::string>(const std::filesystem::path&)>;

/// Opens a library with dlopen and keeps it loaded for the life of the process.
std::optional<std::string> openWithDlopen(const std::filesystem::path& library);

/// The file name suffix of a hooking library on this system (the phone's libraries end in
/// ".dylib").
inline constexpr const char* kLibrarySuffix = ".so";

/// Loads every library of `folder` whose filter matches `process`, in the order of the folder
/// listing, and reports on each. A missing folder loads nothing. Filter files are read with the
/// property-list reader: a missing one loads the library everywhere, an unreadable one skips it.
std::vector<LibraryOutcome> loadLibraries(const std::filesystem::path& folder, const LoaderProcess& process,
                                          const LibraryOpener& open = openWithDlopen);

} // namespace ms
