// Replacing a file that is reached through symbolic links: the links stay links, the file at the
// end of the chain is replaced in its own folder with its permissions kept, its lock is beside
// it, and chains that cannot be followed write nothing.

#include "PropertyListFixtures.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/LinkTarget.h"
#include "platform/foundation/UnreadableFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using plist_test::readFile;
using plist_test::ScratchFolder;
using plist_test::writeFile;

std::string linkTargetOf(const std::string& path) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(path, error);
    return error ? std::string("(not a link)") : target.string();
}

mode_t modeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

void makeLink(const std::string& target, const std::string& link) {
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0) << link;
}

TEST(AtomicFileLinks, ReplacesTheTargetOfARelativeLinkAndKeepsTheLinkAndTheMode) {
    ScratchFolder folder;
    const std::string link = folder.file("times.plist");
    writeFile(folder.file("elsewhere.plist"), "old");
    ASSERT_EQ(::chmod(folder.file("elsewhere.plist").c_str(), 0640), 0);
    makeLink("elsewhere.plist", link);
    ASSERT_TRUE(plist::AtomicFile::write(link, "new").ok);
    EXPECT_EQ(linkTargetOf(link), "elsewhere.plist");
    EXPECT_EQ(readFile(folder.file("elsewhere.plist")), "new");
    EXPECT_EQ(modeOf(folder.file("elsewhere.plist")), 0640u);
    EXPECT_EQ(folder.listing(), "elsewhere.plist times.plist");
}

// The target's folder is on another file system when one is at hand (a rename can only replace
// the target from a temporary file in its own folder), else beside the link's folder.
TEST(AtomicFileLinks, WritesTheNewFileInTheTargetsFolder) {
    ScratchFolder links;
    struct stat shm {};
    struct stat here {};
    const bool otherDevice = ::stat("/dev/shm", &shm) == 0 && ::stat(links.path().c_str(), &here) == 0 &&
                             shm.st_dev != here.st_dev && ::access("/dev/shm", W_OK) == 0;
    std::string targetFolder = otherDevice ? "/dev/shm/plist-link-XXXXXX" : links.file("target-XXXXXX");
    ASSERT_NE(::mkdtemp(targetFolder.data()), nullptr);
    const std::string target = targetFolder + "/real.plist";
    writeFile(target, "old");
    makeLink(target, links.file("times.plist"));
    const plist::WriteResult result = plist::AtomicFile::write(links.file("times.plist"), "new");
    EXPECT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(linkTargetOf(links.file("times.plist")), target);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(targetFolder), {}), 1);
    std::filesystem::remove_all(targetFolder);
}

TEST(AtomicFileLinks, FollowsAChainWithEachRelativeTargetTakenFromItsLinksFolder) {
    ScratchFolder folder;
    ASSERT_EQ(::mkdir(folder.file("a").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(folder.file("b").c_str(), 0755), 0);
    writeFile(folder.file("b/real.plist"), "old");
    makeLink("a/middle.plist", folder.file("times.plist"));
    makeLink("../b/real.plist", folder.file("a/middle.plist"));
    ASSERT_TRUE(plist::AtomicFile::write(folder.file("times.plist"), "new").ok);
    EXPECT_EQ(linkTargetOf(folder.file("times.plist")), "a/middle.plist");
    EXPECT_EQ(linkTargetOf(folder.file("a/middle.plist")), "../b/real.plist");
    EXPECT_EQ(readFile(folder.file("b/real.plist")), "new");
    EXPECT_EQ(folder.listing(), "a b times.plist");
    EXPECT_EQ(plist::resolveLinkChain(folder.file("times.plist")).path, folder.file("a/../b/real.plist"));
}

TEST(AtomicFileLinks, ADanglingLinkGetsItsTargetCreatedUnlessItsFolderIsMissing) {
    ScratchFolder folder;
    makeLink("new.plist", folder.file("times.plist"));
    ASSERT_TRUE(plist::AtomicFile::write(folder.file("times.plist"), "first").ok);
    EXPECT_EQ(linkTargetOf(folder.file("times.plist")), "new.plist");
    EXPECT_EQ(readFile(folder.file("new.plist")), "first");

    makeLink("missing/new.plist", folder.file("other.plist"));
    const plist::WriteResult result = plist::AtomicFile::write(folder.file("other.plist"), "x");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("No such file or directory"), std::string::npos) << result.reason;
    EXPECT_EQ(folder.listing(), "new.plist other.plist times.plist");
}

TEST(AtomicFileLinks, ALoopOrALinkToAFolderWritesNothing) {
    ScratchFolder folder;
    makeLink("b.plist", folder.file("a.plist"));
    makeLink("a.plist", folder.file("b.plist"));
    const plist::WriteResult loop = plist::AtomicFile::write(folder.file("a.plist"), "x");
    EXPECT_FALSE(loop.ok);
    EXPECT_NE(loop.reason.find("Too many levels of symbolic links"), std::string::npos) << loop.reason;
    EXPECT_EQ(linkTargetOf(folder.file("a.plist")), "b.plist");

    ASSERT_EQ(::mkdir(folder.file("dir").c_str(), 0755), 0);
    makeLink("dir", folder.file("times.plist"));
    const plist::WriteResult intoFolder = plist::AtomicFile::write(folder.file("times.plist"), "x");
    EXPECT_FALSE(intoFolder.ok);
    EXPECT_NE(intoFolder.reason.find("not a regular file"), std::string::npos) << intoFolder.reason;
    EXPECT_EQ(folder.listing(), "a.plist b.plist dir times.plist");
}

TEST(AtomicFileLinks, ADamagedTargetMovesAsideInItsFolderAndTheLinkStays) {
    ScratchFolder folder;
    ASSERT_EQ(::mkdir(folder.file("real").c_str(), 0755), 0);
    writeFile(folder.file("real/times.plist"), "<plist><dict>");
    ASSERT_EQ(::chmod(folder.file("real/times.plist").c_str(), 0600), 0);
    makeLink("real/times.plist", folder.file("times.plist"));
    const plist::MovedAside moved = plist::moveUnreadableAside(folder.file("times.plist"), 0);
    ASSERT_TRUE(moved.failure.empty()) << moved.failure;
    EXPECT_EQ(moved.attributes.mode, 0600u);
    EXPECT_EQ(readFile(folder.file("real/times.plist.unreadable-19700101T000000Z")), "<plist><dict>");
    ASSERT_TRUE(plist::AtomicFile::write(folder.file("times.plist"), "new", moved.attributes).ok);
    EXPECT_EQ(linkTargetOf(folder.file("times.plist")), "real/times.plist");
    EXPECT_EQ(readFile(folder.file("real/times.plist")), "new");
    EXPECT_EQ(modeOf(folder.file("real/times.plist")), 0600u);
}

TEST(AtomicFileLinks, TheLockSitsBesideTheTargetSoEveryNameTakesTheSameLock) {
    ScratchFolder folder;
    ASSERT_EQ(::mkdir(folder.file("real").c_str(), 0755), 0);
    const std::string target = folder.file("real/times.plist");
    writeFile(target, "old");
    makeLink("real/times.plist", folder.file("times.plist"));
    EXPECT_EQ(plist::FileLock::lockPathFor(folder.file("times.plist")),
              folder.file("real/.times.plist.lock"));
    const plist::FileLock lock = plist::FileLock::acquire(folder.file("times.plist"));
    ASSERT_TRUE(lock.held()) << lock.failure();
    // Another process that names the file itself finds it locked.
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(plist::FileLock::lockPathFor(target).c_str(), O_RDONLY);
        ::_exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(folder.listing(), "real times.plist");

    makeLink("loop.plist", folder.file("loop.plist"));
    const plist::FileLock looped = plist::FileLock::acquire(folder.file("loop.plist"));
    EXPECT_FALSE(looped.held());
    EXPECT_NE(looped.failure().find("Too many levels of symbolic links"), std::string::npos)
        << looped.failure();
}

// A target longer than the first buffer the link is read into is read whole.
TEST(AtomicFileLinks, ALinkWithALongTargetIsFollowedWhole) {
    ScratchFolder folder;
    std::string target;
    while (target.size() < 600) {
        target += "./";
    }
    target += "times.plist";
    const std::string link = folder.file("link.plist");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const plist::LinkTarget resolved = plist::resolveLinkChain(link);
    EXPECT_EQ(resolved.failure, "");
    EXPECT_EQ(resolved.path, folder.path() + "/" + target);
}

// Written in place, a file that takes nothing (a full device) is reported, never taken as
// written.
TEST(AtomicFileInPlace, AWriteThatFailsSaysSo) {
    const plist::WriteResult full = plist::AtomicFile::writeInPlace("/dev/full", "<plist/>");
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.reason.rfind("cannot write /dev/full", 0), 0u) << full.reason;
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    EXPECT_TRUE(plist::AtomicFile::writeInPlace(path, "<plist/>").ok);
    EXPECT_EQ(readFile(path), "<plist/>");
}

} // namespace
