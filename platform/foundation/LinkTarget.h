#pragma once
// The file a path finally names when its last part is a symbolic link. A file that is replaced
// whole is replaced at the end of its chain of links, in that file's own folder, so that every
// link to it stays a link and keeps showing the new content.

#include <string>

namespace plist {

/// Where a chain of symbolic links ends, or why it cannot be followed.
struct LinkTarget {
    /// The path of the last name in the chain: `path` itself when it is not a link. It need not
    /// exist: a dangling link names the file that a write creates.
    std::string path;
    /// Empty when the chain was followed; else one line saying why not (a loop, a link that
    /// cannot be read).
    std::string failure;
};

/// Follows the links at the end of `path`, one after another, as the system does when it opens
/// the path: a relative target is taken from the folder of the link that holds it. Links in the
/// folders along the way are left to the system. At most 40 links are followed, as the system
/// allows, so that a loop fails instead of running on.
LinkTarget resolveLinkChain(const std::string& path);

} // namespace plist
