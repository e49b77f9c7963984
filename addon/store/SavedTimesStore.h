#pragma once
// Every operation on the saved-times file. Each one reads the whole file afresh, changes what it
// read, and writes the whole dictionary back atomically. What the process last read or wrote is
// kept (SavedTimesCache) only to skip parsing bytes it already knows and to copy the text of
// values that did not change: every operation still reads the file's bytes as they are now and
// writes exactly the bytes the plain read-modify-write would.
//
// The dictionaries handed out hold the mutable root and section arrays a caller may change, as
// the records() of SavedTimesDocument copies an array before handing it out when it is
// immutable. With the cache in use, the records themselves and their lap arrays are immutable and
// shared with it; nothing in the add-on changes a record after it was made.
//
// Every operation that writes holds the file's writers' lock (plist::FileLock) from its read to
// its last rename, so that concurrent processes never lose each other's changes.
//
// Two operations may create the file: the capture and the browser's first load. When the file's
// bytes were read but are not a dictionary, they move it aside before writing a new one, so the
// user's former results are never lost. When the bytes could not be read at all (an I/O or
// permission error, something other than a file, a file larger than the readers accept),
// nothing is known of them and no operation writes. Values of the wrong type where the section
// list or a section's records belong are kept as they are: an operation that would have to
// replace one writes nothing.
//
// A delete or a move applies to the list the user saw (ShownSections): when a fresh read of a
// section it changes is not what that list holds (another writer changed it since), it writes
// nothing, since storing the list would erase the other writer's change. A name listed twice in
// the section list has one key for both places: an edit that would store two lists under that
// key, or drop the key while the other place still uses it, writes nothing.
//
// Every operation that was asked to store something and stored nothing logs its reason to the
// system log (NSLog), as one line after kStoredNothingLogPrefix, so that whoever looks at the
// device can say why; the log is the platform's, shared by every copy of this code in a process.

#include "addon/store/SavedTimesCache.h"
#include "addon/store/SavedTimesDocument.h"
#include "addon/store/ShownSections.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSArray.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lv {

/// The file name of the saved-times file in the preferences folder.
inline constexpr const char* kSavedTimesFileName = "com.varnoth.lapvane.plist";

/// `<home>/Library/Preferences/com.varnoth.lapvane.plist`, built from the home directory now.
std::string savedTimesPath();

/// The start of the system log line an operation that stored nothing logs before its reason.
inline constexpr const char* kStoredNothingLogPrefix = "Lapvane stored nothing: ";

/// What a fresh read of the file found.
struct SavedTimesRead {
    /// Unreadable: the bytes are not a dictionary (damaged). Inaccessible: the bytes could not be
    /// read (see plist::ReadStatus).
    enum class Status { Ok, Missing, Unreadable, Inaccessible };
    Status status = Status::Missing;
    /// The root dictionary when the status is Ok.
    std::shared_ptr<NSMutableDictionary> root;
    /// Why the file could not be read, for Unreadable and Inaccessible.
    std::string reason;
};

/// The outcome of an operation that writes.
struct SavedTimesWrite {
    /// True when the file was read and every write the operation made succeeded.
    bool written = false;
    /// True when the operation's own change (the record removed or moved, the section added)
    /// reached the file, whatever became of a later drop of emptied sections.
    bool changeWritten = false;
    /// True when the operation dropped one or more sections and that second write succeeded.
    bool droppedSections = false;
    /// The positions of the dropped sections in the section list as it was read, and their names.
    std::vector<std::size_t> dropped;
    std::vector<std::string> droppedNames;
    /// How many names the section list held when the operation read the file.
    std::size_t sectionsRead = 0;
    /// True when a section added was refused because the list read under the lock holds its
    /// name already (another writer added it since the name was checked).
    bool alreadyExists = false;
    /// Why a read or write failed, when it did.
    std::string reason;
};

/// Run by an edit when its change has reached the file and before it drops emptied sections, so
/// that a table can show the change before it shows the drop.
using AfterChange = std::function<void()>;

/// The operations on the saved-times file.
class SavedTimesStore {
  public:
    /// Whether operations reuse what this process last read or wrote (SavedTimesCache) instead of
    /// parsing and writing the whole file each time. Either way they see and write the same bytes.
    /// On unless the environment sets LAPVANE_PLAIN_IO=1.
    [[nodiscard]] static bool fastPaths();
    /// Turns the reuse on or off for the whole process, forgetting what was cached.
    static void setFastPaths(bool on);

    /// Reads the whole file afresh.
    static SavedTimesRead read();
    /// The section list of a fresh read; empty when the file is missing or unreadable.
    static std::vector<std::string> sectionNames();

    /// Appends a record to the first section, creating the file and the "Default" section as
    /// needed (the capture). Writes nothing when the file cannot be read, when the first
    /// section's records are not an array, or when the file would grow larger than the readers
    /// accept.
    static SavedTimesWrite appendToFirstSection(const id& record);
    /// Makes sure the file has a section list, creating "Default" when it has none (the browser's
    /// first load). Writes only when it changed something.
    static SavedTimesWrite ensureSectionList();
    /// Removes the record at `row` of the in-memory section `section` and stores that array under
    /// the section's key; drops the section when it is now empty and others exist. Neither the
    /// file nor the in-memory list changes when the file cannot be read, holds no such record,
    /// or no longer holds that section as the list shows it.
    static SavedTimesWrite deleteRecord(const ShownSections& sections, std::size_t section, std::size_t row,
                                        const AfterChange& afterChange = {});
    /// Moves a record between the in-memory section arrays and stores both; drops the source
    /// section when it is now empty and others exist. `toRow` is the record's place after the move.
    /// Writes nothing when either section is no longer in the file as the list shows it. Other
    /// places of the list under the same names are given what was stored.
    static SavedTimesWrite moveRecord(const ShownSections& sections, std::size_t fromSection,
                                      std::size_t fromRow, std::size_t toSection, std::size_t toRow,
                                      const AfterChange& afterChange = {});
    /// Appends a section with that name, keeping the records its key already holds (an empty list
    /// when it holds none), then drops every other empty section. Writes nothing, with
    /// `alreadyExists`, when the section list read under the lock already holds the name.
    static SavedTimesWrite addSection(const std::string& name, const AfterChange& afterChange = {});

    /// Why the last operation logged since the system log's `mark` (ns::SystemLog) that was asked
    /// to store something stored nothing (its change did not reach the file); nothing when none
    /// did.
    static std::optional<std::string> refusalLoggedSince(std::uint64_t mark);

  private:
    // Forgets the cache when the operation refused or failed, so that nothing it may have
    // noticed about the file outlives it, and logs the reason when its change stored nothing.
    static SavedTimesWrite settled(SavedTimesWrite outcome);
    // Changes the document of an operation that may create the file; answers whether there is
    // anything to write, and says why not in the outcome when it refuses.
    using CreatingChange = std::function<bool(SavedTimesDocument&, SavedTimesWrite&)>;
    // Takes the lock and reads the file for an operation that may create it: a damaged file is
    // moved aside first (and nothing is written when that fails), a file that cannot be read
    // stops the operation; nothing or an empty dictionary becomes a new one. Then applies
    // `change` and writes.
    // Run while the lock is still held, once the write succeeded.
    using AfterWrite = std::function<void(const SavedTimesWrite&)>;
    static SavedTimesWrite
    writeCreating(const CreatingChange& change, const AfterWrite& afterWrite = {},
                  SavedTimesCache::Wanted wanted = SavedTimesCache::Wanted::Everything);
    // A fresh read that makes objects of what `wanted` names at least. Values it does not name
    // may be stand-ins (SavedTimesStandIns), so only an operation that touches nothing else and
    // hands the root to nobody asks for less than everything.
    static SavedTimesRead readWanting(SavedTimesCache::Wanted wanted);
    static bool write(const NSMutableDictionary& root, SavedTimesWrite& outcome,
                      const std::optional<plist::FileAttributes>& attributes = std::nullopt);
    // Takes the writers' lock into `lock` and reads the existing file: its root, or nil (with
    // the reason) when the lock cannot be taken or the file is missing or cannot be read, since
    // the edits never create the file.
    static std::shared_ptr<NSMutableDictionary> readExisting(SavedTimesWrite& outcome, plist::FileLock& lock);
    // False, with the reason, when one of these sections' records are not an array, so that
    // storing the in-memory records under its key would replace them.
    static bool recordsCanBeStored(const SavedTimesDocument& document, const std::vector<std::string>& names,
                                   SavedTimesWrite& outcome);
    // False, with the reason, when a section at one of these positions is not in the file as
    // `shown` holds it: another name at that position, or other records under its key.
    static bool fileStillShows(const SavedTimesDocument& document, const std::vector<std::string>& names,
                               const ShownSections& shown, const std::vector<std::size_t>& positions,
                               SavedTimesWrite& outcome);
    // Gives the list's places that share a key with a changed position (a name listed twice) a
    // copy of what the document now holds under it, so that the list shows what the file holds.
    static void showStored(const SavedTimesDocument& document, const std::vector<std::string>& names,
                           const ShownSections& shown, const std::vector<std::size_t>& changed);
    // False, with the reason, when the name at `position` is listed at another position too.
    static bool listedOnce(const std::vector<std::string>& names, std::size_t position,
                           SavedTimesWrite& outcome);
    // Writes the document, then, when that write succeeded, runs `afterChange` and, when `emptied`
    // names sections, drops them and writes a second time.
    static void writeThenDrop(SavedTimesDocument& document, const std::vector<std::size_t>& emptied,
                              SavedTimesWrite& outcome, const AfterChange& afterChange);
};

} // namespace lv
