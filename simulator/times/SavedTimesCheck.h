#pragma once
// `lapvane times check`: reads the saved-times file as the add-on reads it and lists everything
// the add-on would silently read as missing, read as zero or drop, each with the path to the
// value, and says whether the file is laid out as the platform writes it. It never writes.

#include <string>
#include <vector>

namespace sim {

/// One value the add-on would not read as written.
struct CheckFinding {
    /// Where the value is, e.g. `["Times - Runs"][0]["All Laps"][1]`.
    std::string path;
    /// What is wrong and how the add-on reads it.
    std::string problem;
};

/// What checking the file found.
struct SavedTimesCheck {
    enum class Status {
        /// Read; `findings` may still hold problems.
        Read,
        /// No file at the path.
        Missing,
        /// Not a property-list dictionary at all.
        Unreadable,
        /// Its bytes could not be read (an I/O error, not a regular file, too large).
        Inaccessible,
    };
    Status status = Status::Missing;
    /// Why the file is unreadable.
    std::string reason;
    /// How the file is laid out, when read.
    std::string layout;
    /// True when the bytes are exactly what the platform's writer makes of the same values.
    bool platformLayout = false;
    std::vector<CheckFinding> findings;

    /// True when there is nothing to report: a file without problems, or no file.
    [[nodiscard]] bool clean() const {
        return status != Status::Unreadable && status != Status::Inaccessible && findings.empty();
    }
};

/// Checks the saved-times file at `path` without changing it.
SavedTimesCheck checkSavedTimesFile(const std::string& path);
/// The same for the bytes of a saved-times file read elsewhere (standard input).
SavedTimesCheck checkSavedTimesBytes(const std::string& bytes);

/// What `lapvane times check` prints.
std::string checkText(const SavedTimesCheck& check, const std::string& path);

} // namespace sim
