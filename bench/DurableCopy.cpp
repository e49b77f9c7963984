#include "bench/DurableCopy.h"

#include "platform/foundation/FileDescriptor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

namespace bench {
namespace {

std::string failure(const std::string& step, const std::string& path) {
    return step + " " + path + ": " + std::strerror(errno);
}

} // namespace

std::string rewriteDurably(const std::string& path) {
    std::string bytes;
    {
        plist::FileDescriptor in(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat info {};
        if (in.get() < 0 || ::fstat(in.get(), &info) != 0) {
            return failure("cannot open", path);
        }
        bytes.resize(static_cast<std::size_t>(info.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(in.get(), bytes.data() + done, bytes.size() - done);
            if (got <= 0) {
                return failure("cannot read", path);
            }
            done += static_cast<std::size_t>(got);
        }
    }
    const std::string temporary = path + ".floor";
    {
        plist::FileDescriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (out.get() < 0) {
            return failure("cannot create", temporary);
        }
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t put = ::write(out.get(), bytes.data() + done, bytes.size() - done);
            if (put <= 0) {
                return failure("cannot write", temporary);
            }
            done += static_cast<std::size_t>(put);
        }
        if (::fsync(out.get()) != 0) {
            return failure("cannot sync", temporary);
        }
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        return failure("cannot rename over", path);
    }
    const std::string folder = std::filesystem::path(path).parent_path().string();
    plist::FileDescriptor directory(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0 || ::fsync(directory.get()) != 0) {
        return failure("cannot sync the folder", folder);
    }
    return {};
}

} // namespace bench
