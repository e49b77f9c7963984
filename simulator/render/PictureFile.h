#pragma once
// A picture's bytes put in place as a whole file: written to a temporary file beside it, then
// renamed over the name. A write that fails (a full disk, a quota) leaves no file, not even an
// empty one, and says why in the system's words.

#include <string>
#include <string_view>

namespace render {

/// Writes `bytes` to `path` whole. Empty when it did; else why not ("No space left on device"),
/// with nothing left at `path` or beside it.
std::string writeWholeFile(const std::string& path, std::string_view bytes);

} // namespace render
