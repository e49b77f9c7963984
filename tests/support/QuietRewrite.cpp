#include "tests/support/QuietRewrite.h"

#include "platform/foundation/FileIdentity.h"
#include "tests/support/TemporaryDirectory.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

namespace testing_support {

namespace {

struct stat statOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw std::runtime_error("cannot inspect " + path);
    }
    return info;
}

void setTimes(const std::string& path, const struct stat& from) {
    const std::array<timespec, 2> times = {from.st_atim, from.st_mtim};
    if (::utimensat(AT_FDCWD, path.c_str(), times.data(), 0) != 0) {
        throw std::runtime_error("cannot set the times of " + path);
    }
}

} // namespace

void rewriteKeepingTimes(const std::string& path, const std::string& content) {
    const struct stat before = statOf(path);
    writeWholeFile(path, content);
    setTimes(path, before);
}

void replaceKeepingTimes(const std::string& path, const std::string& content) {
    const struct stat before = statOf(path);
    const std::string replacement = path + ".replacement";
    writeWholeFile(replacement, content);
    setTimes(replacement, before);
    if (std::rename(replacement.c_str(), path.c_str()) != 0) {
        throw std::runtime_error("cannot rename over " + path);
    }
}

void waitForTheClockToPass(const std::string& path) {
    const timespec changed = statOf(path).st_ctim;
    const long granularity = plist::FileIdentity::granularityOf(changed);
    for (int i = 0; i < 1000; ++i) {
        timespec clock = plist::coarseClock();
        clock.tv_nsec -= clock.tv_nsec % granularity;
        if (clock.tv_sec > changed.tv_sec ||
            (clock.tv_sec == changed.tv_sec && clock.tv_nsec > changed.tv_nsec)) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace testing_support
