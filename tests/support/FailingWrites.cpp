#include "tests/support/FailingWrites.h"

#include <csignal>

namespace testing_support {

namespace {
/// Small enough for any property list, large enough for nothing else to matter.
constexpr rlim_t kLargestFile = 16;
} // namespace

FailingWrites::FailingWrites() {
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    // A write past the limit then fails with EFBIG instead of ending the process.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous_;
    small.rlim_cur = kLargestFile;
    ::setrlimit(RLIMIT_FSIZE, &small);
}

FailingWrites::~FailingWrites() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}

} // namespace testing_support
