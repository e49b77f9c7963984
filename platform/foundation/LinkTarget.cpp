#include "platform/foundation/LinkTarget.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace plist {

namespace {

constexpr int kMostLinks = 40;

// A path's folder part with its last slash ("" for a bare name), to which a relative link
// target held in that folder is relative.
std::string folderPrefixOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The target of the link at `path`, read whole whatever its length; false with errno set when
// it cannot be read.
bool readLink(const std::string& path, std::size_t sizeHint, std::string& target) {
    std::size_t room = std::max<std::size_t>(sizeHint, 255) + 1;
    for (;;) {
        target.resize(room);
        const ssize_t length = ::readlink(path.c_str(), target.data(), room);
        if (length < 0) {
            return false;
        }
        if (static_cast<std::size_t>(length) < room) {
            target.resize(static_cast<std::size_t>(length));
            return true;
        }
        // The target filled the buffer: it may have been cut short (or changed meanwhile).
        room *= 2;
    }
}

} // namespace

LinkTarget resolveLinkChain(const std::string& path) {
    std::string current = path;
    for (int links = 0;; ++links) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT || errno == ENOTDIR) {
                // Nothing there (yet): the chain ends at a name a write may create, and the write
                // itself reports a folder that is missing.
                return {current, {}};
            }
            return {current, "cannot inspect " + current + ": " + std::strerror(errno)};
        }
        if (!S_ISLNK(info.st_mode)) {
            return {current, {}};
        }
        if (links == kMostLinks) {
            return {current,
                    path + ": " + std::strerror(ELOOP) + "; point the link at the file itself or remove it"};
        }
        std::string target;
        if (!readLink(current, static_cast<std::size_t>(info.st_size), target)) {
            return {current, "cannot read the link " + current + ": " + std::strerror(errno)};
        }
        if (target.empty()) {
            return {current, "the link " + current + " points nowhere; remove it or point it at a file"};
        }
        current = target.front() == '/' ? target : folderPrefixOf(current) + target;
    }
}

} // namespace plist
