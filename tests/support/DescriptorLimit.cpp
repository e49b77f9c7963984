#include "tests/support/DescriptorLimit.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

DescriptorLimit::DescriptorLimit(int spare) {
    ::getrlimit(RLIMIT_NOFILE, &previous_);
    // Descriptors take the lowest free numbers: a limit at the (spare + 1)-th free number lets
    // exactly the next `spare` opens succeed.
    int limit = 0;
    int found = 0;
    for (int fd = 0; found <= spare; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0) {
            limit = fd;
            ++found;
        }
    }
    rlimit lowered = previous_;
    lowered.rlim_cur = static_cast<rlim_t>(limit);
    ::setrlimit(RLIMIT_NOFILE, &lowered);
}

DescriptorLimit::~DescriptorLimit() {
    ::setrlimit(RLIMIT_NOFILE, &previous_);
}

pid_t deadProcessId() {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    return child;
}

} // namespace testing_support
