#pragma once
// What this process last read from or wrote to the saved-times file: the file's exact bytes and
// their dictionary, parsed once, with every container immutable. Every operation still opens and
// fstats the file: the cache is used only when the file's bytes are exactly the cached ones,
// compared while reading, or when the file's identity was settled at the last comparison
// (plist::FileIdentity: the same device, inode, size, modification and change time, the change
// time older than the clock read before that comparison), so a change made by anyone a moment
// before is always seen. Callers get a new mutable root holding the cached values; since those values
// cannot change, a caller that wants to change an array copies it first (SavedTimesDocument does),
// and nothing a caller does reaches the cache.
//
// After a write, or a read of bytes the reader found to be exactly the writer's text, the cache
// knows where each value's text lies in its bytes (SavedTimesLayout), so the next write copies the
// text of what did not change instead of writing the whole dictionary again. The bytes written
// are exactly those of plist::xmlText.
//
// A read that needs only the section list and the first section (a capture) of bytes that are
// exactly the writer's text checks the rest without reading it: each other root value is a
// stand-in for its checked text (SavedTimesStandIns), which a write copies and which any later
// read that needs it reads first. A stand-in never reaches a caller that asked for the whole file.

#include "addon/store/SavedTimesLayout.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileIdentity.h"
#include "platform/foundation/PropertyListResult.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace lv {

/// The file's bytes and parsed dictionary as this process last saw them.
class SavedTimesCache {
  public:
    /// A read of the file: the status and reason of plist::readDictionaryFile, and on Ok the
    /// dictionary, whose containers are all immutable and shared with the cache.
    struct Read {
        plist::ReadStatus status = plist::ReadStatus::Missing;
        std::shared_ptr<NSDictionary> tree;
        std::string reason;
    };

    /// What a read needs of the file as objects.
    enum class Wanted {
        /// Every value.
        Everything,
        /// The section list and the records of its first section (or of the section a capture
        /// names when there is none); every other root value may be a stand-in.
        SectionListAndFirstSection,
    };

    /// The cache of this process.
    static SavedTimesCache& shared();

    /// Reads the file at `path` as plist::readDictionaryFile does; parses only when its bytes are
    /// not the cached ones, and compares them only when its identity does not vouch for them.
    [[nodiscard]] Read read(const std::string& path, Wanted wanted = Wanted::Everything);
    /// Writes `root` to `path` as plist::writeToFile(root, path, true, attributes) does, with the
    /// same bytes, outcome and reason; assembles the text from the cached one when it can.
    [[nodiscard]] plist::WriteResult write(const NSDictionary& root, const std::string& path,
                                           const std::optional<plist::FileAttributes>& attributes);
    /// Forgets everything.
    void drop();

    /// For tests: compare every assembled text with the writer's text for the whole dictionary,
    /// throwing std::logic_error on a difference.
    void setCheckAssembledTexts(bool check);
    /// For tests and benchmarks: how many writes were assembled and how many written whole, and
    /// how many reads parsed, reused the cache, and of those how many on the file's identity alone.
    struct Counts {
        std::size_t assembled = 0;
        std::size_t whole = 0;
        std::size_t parsed = 0;
        std::size_t reused = 0;
        std::size_t trusted = 0;
        /// Reads that checked the values they did not need instead of reading them.
        std::size_t stoodIn = 0;
    };
    [[nodiscard]] Counts counts() const;

  private:
    void dropLocked();
    // Parses `bytes` whole into the cache, as every read did before stand-ins.
    Read parseLocked(const std::string& path, std::string bytes,
                     const std::optional<plist::FileIdentity>& identity);
    // Reads the cached stand-ins that `wanted` needs; false when one could not be read.
    bool readStandInsLocked(Wanted wanted);

    mutable std::mutex mutex_;
    std::string path_;
    std::string bytes_;
    std::shared_ptr<NSDictionary> tree_;
    // Present when `bytes_` are exactly the writer's text for `tree_`.
    std::optional<SavedTimesLayout> layout_;
    // The file's identity while it was last compared with `bytes_` or read into them.
    std::optional<plist::FileIdentity> identity_;
    bool checkAssembled_ = false;
    Counts counts_;
};

} // namespace lv
