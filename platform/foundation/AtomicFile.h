#pragma once
// Replaces a file's content so that a reader sees either the old file or the complete new one,
// never a mix, and so that a failed write leaves the old file as it was.

#include "platform/foundation/PropertyListResult.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace plist {

/// The permission bits and owner a replacing file takes.
struct FileAttributes {
    /// Permission bits (07777).
    unsigned mode = 0644;
    uid_t owner = 0;
    gid_t group = 0;

    /// The attributes of the file at `path` (links followed); nothing, with errno set, when it
    /// cannot be inspected.
    static std::optional<FileAttributes> of(const std::string& path);
};

/// Writes whole files, atomically or in place.
class AtomicFile {
  public:
    /// Writes `bytes` to a new file beside `path` (same folder, hence same file system), loops
    /// until every byte is written, syncs it, renames it over `path` and syncs the folder.
    ///
    /// When `path` is a symbolic link (or a chain of them), the file at the end of the chain is
    /// the one replaced, beside itself, and the links stay as they are; a dangling link's target
    /// is created. A loop of links writes nothing.
    ///
    /// The new file is created readable and writable by its owner alone and keeps that mode
    /// until its content is complete. Then, before the rename, it takes `attributes` when given,
    /// else those of the file it replaces; a new file gets 0666 less the process's umask. The
    /// owner is kept only when the process may give files away (the superuser). Whatever the
    /// mode, the owner may read the file, so that what is written can always be read back. When
    /// the file to replace cannot be inspected, nothing is written (its mode would be lost). On
    /// any failure before the rename the temporary file is removed and the old file is
    /// untouched. Missing folders are not created.
    ///
    /// The temporary file is `.<name>.tmp-<pid>-<n>`; each write first removes such files of
    /// the same target whose process is gone (left by a writer that was killed). Callers that
    /// share a file hold its FileLock around the read and this write.
    [[nodiscard]] static WriteResult write(const std::string& path, std::string_view bytes,
                                           const std::optional<FileAttributes>& attributes = std::nullopt);

    /// Truncates and rewrites `path` in place (created with 0666 less the umask when missing).
    /// A failure part way leaves a partial file, as the platform's non-atomic write does.
    [[nodiscard]] static WriteResult writeInPlace(const std::string& path, std::string_view bytes);

    /// Removes the temporary files of writes to `path` whose writing process no longer exists,
    /// and answers how many it removed. Files of live processes and every other name are left.
    static int sweepStaleTemporaries(const std::string& path);
};

} // namespace plist
