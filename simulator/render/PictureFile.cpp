#include "simulator/render/PictureFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace render {

std::string writeWholeFile(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".tmp-" + std::to_string(getpid());
    int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        return std::strerror(errno);
    }
    int failure = 0;
    for (std::size_t at = 0; at < bytes.size() && failure == 0;) {
        ssize_t written = ::write(descriptor, bytes.data() + at, bytes.size() - at);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failure = written < 0 ? errno : EIO;
        } else {
            at += static_cast<std::size_t>(written);
        }
    }
    if (::close(descriptor) != 0 && failure == 0 && errno != EINTR) {
        failure = errno;
    }
    if (failure == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        ::unlink(temporary.c_str());
        return std::strerror(failure);
    }
    return {};
}

} // namespace render
