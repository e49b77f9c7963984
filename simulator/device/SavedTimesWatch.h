#pragma once
// What the add-on's file work did with the saved-times file during one command, seen from
// outside as a person would check: whether the file changed (its identity, size and time), why they could not
// have (the file is not a regular file, cannot be read, its folder cannot be written), and which damaged
// files were moved aside meanwhile. The simulator says so when a Save or an edit stored nothing, instead of
// leaving the user to find out later.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sim {

/// A look at the saved-times file before a command, compared with the file after it.
class SavedTimesWatch {
  public:
    /// What a look takes in: the moved-aside files only (a listing of the folder), or the file's
    /// identity as well.
    enum class Look { MovedAside, File };
    /// A file as the writer leaves a mark on it: a rename gives a new inode, a write a new size or
    /// modification time.
    struct Identity {
        unsigned long long device = 0;
        unsigned long long inode = 0;
        long long size = 0;
        long long modifiedNanoseconds = 0;
        bool operator==(const Identity&) const = default;
    };
    /// Looks at the file in the device's current home now.
    explicit SavedTimesWatch(Look look);

    /// True when the file is not the one it was (made, replaced, changed or removed), or when that
    /// cannot be told; only for a look that took the file in.
    [[nodiscard]] bool changed() const;
    /// Why the file cannot be written now, in a few words with its path: not a regular file,
    /// unreadable, its folder not writable; nothing when no such reason shows (a screen whose
    /// table the file does not back, two equal records swapped).
    [[nodiscard]] std::optional<std::string> whyNotWritable() const;
    /// The damaged files moved aside since the look before, by full path.
    [[nodiscard]] std::vector<std::string> movedAside() const;
    /// Why the add-on's file work since the look stored nothing, when it refused or failed to
    /// store what it was asked to: what keeps the file from being written (as whyNotWritable),
    /// else the add-on's own reason (a full disk, a list changed since it was read, a value that
    /// is not a list), as it logged it to the system log. Nothing when everything asked was
    /// stored.
    [[nodiscard]] std::optional<std::string> whyStoredNothing() const;

  private:
    std::string path_;
    bool looked_ = false;
    std::optional<Identity> identity_;
    std::set<std::string> asideBefore_;
    std::uint64_t logMark_ = 0;
};

} // namespace sim
