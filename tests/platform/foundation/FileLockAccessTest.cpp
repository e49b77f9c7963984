// The writers' lock when its file may not be written: the lock needs only a descriptor, so a
// lock file that may be read is opened read-only and still keeps writers apart; one that cannot
// even be read fails with its reason. Permission bits do not bind the superuser, as CI runs, so
// each case runs in a child that first gives up its rights.

#include "PropertyListFixtures.h"
#include "platform/foundation/FileLock.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using plist_test::ScratchFolder;

constexpr uid_t kNobody = 65534;

// Runs `attempt` as an ordinary user (dropping the superuser's rights in a child when needed)
// and answers its exit code; 100 and up when the child could not run it.
template <class Attempt>
int asOrdinaryUser(Attempt attempt, mode_t umask = 022) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::umask(umask);
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(100);
        }
        ::_exit(attempt());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

// Answers from another process whether it could take the lock at `lockPath` without waiting.
bool otherCanLock(const std::string& lockPath) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(lockPath.c_str(), O_RDONLY);
        ::_exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(FileLockAccess, ALockFileThatMayOnlyBeReadIsOpenedReadOnlyAndStillLocks) {
    ScratchFolder folder;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    const std::string path = folder.file("times.plist");
    const std::string lockPath = plist::FileLock::lockPathFor(path);
    plist_test::writeFile(lockPath, "");
    ASSERT_EQ(::chmod(lockPath.c_str(), 0444), 0);
    // The child holds the lock and, while it does, asks a third process to take it.
    EXPECT_EQ(asOrdinaryUser([&] {
                  const plist::FileLock lock = plist::FileLock::acquire(path);
                  if (!lock.held()) {
                      return 1;
                  }
                  return otherCanLock(lockPath) ? 2 : 0;
              }),
              0);
    EXPECT_TRUE(otherCanLock(lockPath));
}

TEST(FileLockAccess, ALockFileMadeUnderAUmaskWithoutWriteBitsServesItsNextUse) {
    ScratchFolder folder;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0777), 0);
    const std::string path = folder.file("times.plist");
    EXPECT_EQ(asOrdinaryUser(
                  [&] {
                      const bool first = plist::FileLock::acquire(path).held();
                      const bool second = plist::FileLock::acquire(path).held();
                      return first && second ? 0 : 1;
                  },
                  0222),
              0);
    struct stat info {};
    ASSERT_EQ(::stat(plist::FileLock::lockPathFor(path).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
}

// Writes the lock's failure to `out` for the parent to read: one line naming the lock file and
// the reason.
int failureInto(const std::string& path, const std::string& out) {
    const plist::FileLock lock = plist::FileLock::acquire(path);
    if (lock.held()) {
        return 1;
    }
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    const bool written = fd >= 0 && ::write(fd, lock.failure().data(), lock.failure().size()) >= 0;
    ::close(fd);
    return written ? 0 : 2;
}

// A lock moved over another lets the replaced one go at once and keeps holding the moved one.
TEST(FileLockAccess, ALockMovedOverAnotherReleasesTheReplacedOne) {
    ScratchFolder folder;
    const std::string first = folder.file("first.plist");
    const std::string second = folder.file("second.plist");
    plist::FileLock held = plist::FileLock::acquire(first);
    plist::FileLock other = plist::FileLock::acquire(second);
    ASSERT_TRUE(held.held() && other.held());
    EXPECT_FALSE(otherCanLock(plist::FileLock::lockPathFor(first)));
    held = std::move(other);
    EXPECT_TRUE(held.held());
    EXPECT_FALSE(other.held());
    EXPECT_TRUE(otherCanLock(plist::FileLock::lockPathFor(first)));
    EXPECT_FALSE(otherCanLock(plist::FileLock::lockPathFor(second)));
}

TEST(FileLockAccess, ALockFileThatCannotBeReadEitherSaysWhy) {
    ScratchFolder folder;
    ScratchFolder reports;
    ASSERT_EQ(::chmod(folder.path().c_str(), 0755), 0);
    ASSERT_EQ(::chmod(reports.path().c_str(), 0777), 0);
    const std::string path = folder.file("times.plist");
    const std::string lockPath = plist::FileLock::lockPathFor(path);
    plist_test::writeFile(lockPath, "");
    ASSERT_EQ(::chmod(lockPath.c_str(), 0), 0);
    ASSERT_EQ(asOrdinaryUser([&] { return failureInto(path, reports.file("unreadable")); }), 0);
    EXPECT_EQ(plist_test::readFile(reports.file("unreadable")),
              "cannot open the lock file " + lockPath + ": Permission denied");

    // No lock file and a folder where none may be made: the reason is the folder's, not "No
    // such file" from the read-only attempt.
    ASSERT_EQ(::unlink(lockPath.c_str()), 0);
    ASSERT_EQ(asOrdinaryUser([&] { return failureInto(path, reports.file("missing")); }), 0);
    EXPECT_EQ(plist_test::readFile(reports.file("missing")),
              "cannot open the lock file " + lockPath + ": Permission denied");
}

// A signal that interrupts the wait for a lock another process holds does not end the wait: the
// writer still takes the lock once the holder lets it go. The waiter runs in a child, whose
// alarm has no handler restarting the call.
TEST(FileLockAccess, AWaitInterruptedByASignalGoesOnUntilTheLockIsFree) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    const std::string lockPath = plist::FileLock::lockPathFor(path);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0644);
        if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], "x", 1) != 1) {
            ::_exit(1);
        }
        ::usleep(600 * 1000);
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the holder could not take the lock";
    ::close(ready[0]);
    const pid_t waiter = ::fork();
    if (waiter == 0) {
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        ::sigaction(SIGALRM, &action, nullptr);
        struct itimerval timer {};
        timer.it_value.tv_usec = 100 * 1000;
        ::setitimer(ITIMER_REAL, &timer, nullptr);
        const plist::FileLock lock = plist::FileLock::acquire(path);
        ::_exit(lock.held() && !otherCanLock(lockPath) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(waiter, &status, 0), waiter);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the interrupted wait gave up";
    ASSERT_EQ(::waitpid(holder, &status, 0), holder);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace
