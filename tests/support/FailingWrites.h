#pragma once
// Makes every file write of the process fail for a while, the way a full disk does: no file may
// grow past a few bytes. The superuser is bound by it too, and reads are unaffected.

#include <sys/resource.h>

namespace testing_support {

/// Writes fail while it lives.
class FailingWrites {
  public:
    FailingWrites();
    ~FailingWrites();
    FailingWrites(const FailingWrites&) = delete;
    FailingWrites& operator=(const FailingWrites&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace testing_support
