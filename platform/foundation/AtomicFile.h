#pragma once
// Replaces a file's content so that a reader sees either the old file or the complete new one,
// never a mix, and so that a failed write leaves the old file as it was.

#include "platform/foundation/PropertyListResult.h"

#include <string>
#include <string_view>

namespace plist {

/// Writes whole files, atomically or in place.
class AtomicFile {
  public:
    /// Writes `bytes` to a new file beside `path` (same folder, hence same file system), loops
    /// until every byte is written, syncs it, renames it over `path` and syncs the folder. The
    /// new file keeps the permission bits of the file it replaces; a new file gets 0666 less
    /// the process's umask. On any failure before the rename the temporary file is removed and
    /// the old file is untouched. Missing folders are not created.
    [[nodiscard]] static WriteResult write(const std::string& path, std::string_view bytes);

    /// Truncates and rewrites `path` in place (created with 0666 less the umask when missing).
    /// A failure part way leaves a partial file, as the platform's non-atomic write does.
    [[nodiscard]] static WriteResult writeInPlace(const std::string& path, std::string_view bytes);
};

} // namespace plist
