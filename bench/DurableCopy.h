#pragma once
// The least any change of the file must cost, the floor the operations are compared with: read
// its bytes, write them to a temporary file beside it, sync it, rename it over the file and sync
// the folder.

#include <string>

namespace bench {

/// Rewrites the file at `path` with its own bytes durably; answers the reason when a step fails,
/// empty on success.
std::string rewriteDurably(const std::string& path);

} // namespace bench
