#pragma once
// The folders and files named on the command line, checked before anything uses them: an empty
// name never falls back to a default (a script passing "$UNSET" must not reach the user's own
// saved times), and a path that exists but is not what the option needs is named with what it is.

#include <string>

namespace sim {

/// What an option needs at its path.
enum class PathKind {
    /// A folder, or nothing yet (it is made when needed).
    Folder,
    /// A file to read, or nothing yet (read as empty).
    File,
    /// A folder the user named to read from: it must be there.
    ExistingFolder,
    /// A file the user named to read: it must be there.
    ExistingFile,
    /// Anything the user named to inspect (a file, a folder, a FIFO): it must be there.
    Existing,
    /// A file to write: its folder must be there, and the name must not be a folder's.
    NewFile,
};

/// Why `path`, given to `option`, cannot serve: it is empty, is something other than `kind`
/// (a regular file, a folder, a FIFO, a device, a socket), is a link to nothing, or is missing
/// where `kind` needs it to be there. Empty when
/// it can. The reason is one line that names the option (when `option` is not empty) and the path.
std::string pathOptionProblem(const std::string& option, const std::string& path, PathKind kind);

} // namespace sim
