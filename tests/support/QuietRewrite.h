#pragma once
// Changes to a file that leave as little trace in its metadata as an outside writer can: the only
// way left to notice them is the change time, which no user can set.

#include <string>

namespace testing_support {

/// Rewrites the file at `path` in place (the same inode) with `content` and sets its access and
/// modification times back to what they were, so that with content of the same size only the
/// change time differs.
void rewriteKeepingTimes(const std::string& path, const std::string& content);

/// Replaces the file at `path` with a new file holding `content`, renamed over it, with the old
/// file's access and modification times.
void replaceKeepingTimes(const std::string& path, const std::string& content);

/// Waits (at most a second) until the kernel's coarse clock has moved past the whole
/// granularity of the change time of the file at `path`, so that its identity can settle.
void waitForTheClockToPass(const std::string& path);

} // namespace testing_support
