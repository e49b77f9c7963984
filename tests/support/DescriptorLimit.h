#pragma once
// Makes opening files fail with EMFILE for a while, after a given number of further opens, the
// way a process that has run out of descriptors sees it.

#include <sys/resource.h>
#include <sys/types.h>

namespace testing_support {

/// Lowers the limit on open descriptors for its lifetime so that only `spare` more can be opened.
class DescriptorLimit {
  public:
    explicit DescriptorLimit(int spare);
    ~DescriptorLimit();
    DescriptorLimit(const DescriptorLimit&) = delete;
    DescriptorLimit& operator=(const DescriptorLimit&) = delete;

  private:
    rlimit previous_{};
};

/// A process id that no process has: that of a child that has already ended and been reaped.
pid_t deadProcessId();

} // namespace testing_support
