#include "platform/foundation/UnreadableFile.h"

#include "platform/foundation/LinkTarget.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace plist {

std::string unreadableFileName(const std::string& path, double unixSeconds) {
    std::time_t seconds = static_cast<std::time_t>(std::floor(unixSeconds));
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
    return path + ".unreadable-" + stamp;
}

MovedAside moveUnreadableAside(const std::string& named, double unixSeconds) {
    MovedAside moved;
    // Through a link, the damaged file itself moves aside in its own folder; the link stays, and
    // the next write creates the file it points to afresh.
    const LinkTarget resolved = resolveLinkChain(named);
    if (!resolved.failure.empty()) {
        moved.failure = resolved.failure;
        return moved;
    }
    const std::string& path = resolved.path;
    const std::optional<FileAttributes> attributes = FileAttributes::of(path);
    if (!attributes) {
        moved.failure = "could not inspect the unreadable file " + path + ": " + std::strerror(errno);
        return moved;
    }
    moved.attributes = *attributes;
    const std::string base = unreadableFileName(path, unixSeconds);
    std::string target = base;
    struct stat existing {};
    for (int n = 2; ::lstat(target.c_str(), &existing) == 0; ++n) {
        target = base + "-" + std::to_string(n);
    }
    if (std::rename(path.c_str(), target.c_str()) != 0) {
        moved.failure = "could not move the unreadable file " + path + " aside: " + std::strerror(errno);
    }
    return moved;
}

} // namespace plist
