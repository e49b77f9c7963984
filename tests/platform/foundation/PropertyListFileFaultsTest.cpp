// The property-list files under faults: paths that are not files, descriptors running out, files
// beyond the readers' cap, writers killed before their rename, and values that must survive a
// round trip unchanged.

#include "PropertyListFixtures.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "platform/runtime/Runtime.h"
#include "tests/support/CaseName.h"
#include "tests/support/DescriptorLimit.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using plist::Mutability;
using plist::ReadStatus;
using plist_test::readFile;
using plist_test::ScratchFolder;
using plist_test::writeFile;

using testing_support::DescriptorLimit;

struct NotAFileCase {
    std::string name;
    std::function<void(const std::string& path)> make;
};

void PrintTo(const NotAFileCase& c, std::ostream* out) {
    *out << c.name;
}

class PropertyListFileNotAFile : public ::testing::TestWithParam<NotAFileCase> {};

// A FIFO would block an ordinary open until a writer comes; each case runs in a child that an
// alarm ends after two seconds, so a hang fails the test instead of stalling it.
TEST_P(PropertyListFileNotAFile, IsRefusedAtOnceWithoutReadingOrBlocking) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    GetParam().make(path);
    EXPECT_EXIT(
        {
            ::alarm(2);
            rt::Runtime runtime;
            rt::Runtime::Scope scope(runtime);
            const plist::ReadResult result = plist::readDictionaryFile(path, Mutability::MutableContainers);
            std::_Exit(result.status == ReadStatus::Inaccessible ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, PropertyListFileNotAFile,
    ::testing::Values(
        NotAFileCase{"Fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        NotAFileCase{"LinkToAFifo",
                     [](const std::string& p) {
                         ASSERT_EQ(::mkfifo((p + ".fifo").c_str(), 0644), 0);
                         ASSERT_EQ(::symlink((p + ".fifo").c_str(), p.c_str()), 0);
                     }},
        NotAFileCase{"Folder", [](const std::string& p) { ASSERT_EQ(::mkdir(p.c_str(), 0755), 0); }},
        NotAFileCase{"CharacterDevice",
                     [](const std::string& p) { ASSERT_EQ(::symlink("/dev/zero", p.c_str()), 0); }}),
    testing_support::PrintedName());

TEST(PropertyListFile, AnOpenThatFailsIsNotADamagedFile) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    writeFile(path, plist::xmlText(*plist_test::oneRecordFile()).text);
    plist::ReadResult result;
    {
        DescriptorLimit none(0);
        result = plist::readDictionaryFile(path, Mutability::MutableContainers);
    }
    EXPECT_EQ(result.status, ReadStatus::Inaccessible);
    EXPECT_NE(result.reason.find("Too many open files"), std::string::npos) << result.reason;
    EXPECT_TRUE(plist::readDictionaryFile(path, Mutability::MutableContainers).ok());
}

TEST(PropertyListFile, AFileBeyondTheCapIsNotReadAtAll) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    // A sparse file just over the cap: its size alone refuses it, nothing is read.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(plist::Limits{}.maxBytes) + 1), 0);
    ::close(fd);
    const plist::ReadResult result = plist::readDictionaryFile(path, Mutability::MutableContainers);
    EXPECT_EQ(result.status, ReadStatus::Inaccessible);
}

TEST(PropertyListXmlWriter, RefusesTextLargerThanTheReadersAccept) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope(runtime);
    auto root = NSMutableDictionary::with();
    root->setObject(NSString::with(std::string(300, 'x')), "a");
    plist::Limits limits;
    limits.maxBytes = 400;
    const plist::EncodeResult refused = plist::PropertyListXmlWriter(limits).write(*root);
    EXPECT_FALSE(refused.ok);
    EXPECT_NE(refused.reason.find("larger than 400 bytes"), std::string::npos) << refused.reason;
    // What the writer accepts, the reader with the same caps reads back.
    limits.maxBytes = 600;
    const plist::EncodeResult written = plist::PropertyListXmlWriter(limits).write(*root);
    ASSERT_TRUE(written.ok) << written.reason;
    EXPECT_TRUE(plist::PropertyListReader(Mutability::Immutable, limits).readDictionary(written.text).ok());
}

struct RoundTripCase {
    std::string name;
    std::function<id()> make;
    std::string text;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
    *out << c.name;
}

class PropertyListRoundTrip : public ::testing::TestWithParam<RoundTripCase> {
  protected:
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
};

TEST_P(PropertyListRoundTrip, ReadsBackWhatWasWrittenAndWritesItAgainUnchanged) {
    auto root = NSMutableDictionary::with();
    root->setObject(GetParam().make(), "value");
    const plist::EncodeResult first = plist::xmlText(*root);
    ASSERT_TRUE(first.ok) << first.reason;
    EXPECT_NE(first.text.find(GetParam().text), std::string::npos) << first.text;
    const plist::ReadResult read = plist::readDictionary(first.text, Mutability::MutableContainers);
    ASSERT_TRUE(read.ok()) << read.reason;
    EXPECT_TRUE(read.dictionary->objectForKey("value")->isEqual(*root->objectForKey("value")));
    EXPECT_EQ(plist::xmlText(*read.dictionary).text, first.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PropertyListRoundTrip,
    ::testing::Values(
        RoundTripCase{"CarriageReturn", [] { return NSString::with("A\rB"); }, "<string>A&#13;B</string>"},
        RoundTripCase{"CarriageReturnLineFeed", [] { return NSString::with("A\r\nB\n"); },
                      "<string>A&#13;\nB\n</string>"},
        RoundTripCase{"LargestUnsigned", [] { return NSNumber::withUnsignedInteger(UINT64_MAX); },
                      "<integer>18446744073709551615</integer>"},
        RoundTripCase{"JustAboveSigned", [] { return NSNumber::withUnsignedInteger(std::uint64_t{1} << 63); },
                      "<integer>9223372036854775808</integer>"},
        RoundTripCase{"SmallestSigned", [] { return NSNumber::withInteger(INT64_MIN); },
                      "<integer>-9223372036854775808</integer>"}),
    testing_support::PrintedName());

TEST(PropertyListFile, ReadsAnUnsignedIntegerOfTheBinaryForm) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope(runtime);
    // bplist00 holding a dictionary {"n": 2^64 - 1}, the integer in 16 bytes with a high half
    // of 0, as the platform writes an unsigned value above the signed range.
    std::string bytes = "bplist00";
    const std::size_t dictionary = bytes.size();
    bytes += std::string("\xD1\x01\x02", 3);
    const std::size_t key = bytes.size();
    bytes += std::string("\x51n", 2);
    const std::size_t number = bytes.size();
    bytes += std::string("\x14", 1) + std::string(8, '\0') + std::string(8, '\xFF');
    const std::size_t table = bytes.size();
    for (std::size_t offset : {dictionary, key, number}) {
        bytes += static_cast<char>(offset);
    }
    std::string trailer(32, '\0');
    trailer[6] = 1;  // offset size
    trailer[7] = 1;  // reference size
    trailer[15] = 3; // objects
    trailer[31] = static_cast<char>(table);
    bytes += trailer;
    const plist::ReadResult read = plist::readDictionary(bytes, Mutability::Immutable);
    ASSERT_TRUE(read.ok()) << read.reason;
    auto value = read.dictionary->objectAs<NSNumber>("n");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->unsignedIntegerValue(), UINT64_MAX);
    EXPECT_NE(plist::xmlText(*read.dictionary).text.find("<integer>18446744073709551615</integer>"),
              std::string::npos);
}

TEST(AtomicFile, SweepsOnlyTheTemporaryFilesOfWritersThatAreGone) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    const std::string dead = std::to_string(testing_support::deadProcessId());
    // The live writer is a child of this test, so that a sweep that signals it instead of only
    // asking after it reaches no process outside the test, and is seen.
    const pid_t live = ::fork();
    if (live == 0) {
        ::pause();
        ::_exit(0);
    }
    ASSERT_GT(live, 0);
    struct Reaper {
        pid_t pid;
        ~Reaper() {
            ::kill(pid, SIGKILL);
            int status = 0;
            ::waitpid(pid, &status, 0);
        }
    } const reaper{live};
    const std::string liveId = std::to_string(live);
    writeFile(folder.file(".times.plist.tmp-" + dead + "-0"), "left by a killed writer");
    writeFile(folder.file(".times.plist.tmp-" + dead + "-17"), "another");
    writeFile(folder.file(".times.plist.tmp-" + liveId + "-3"), "a live writer's");
    writeFile(folder.file(".other.plist.tmp-" + dead + "-0"), "another file's");
    writeFile(folder.file(".times.plist.tmp-x" + dead + "-0"), "not our pattern");
    writeFile(folder.file(".times.plist.tmp-" + dead), "not our pattern either");
    ASSERT_TRUE(plist::AtomicFile::write(path, "new").ok);
    const plist_test::ScratchFolder& f = folder;
    for (const std::string& kept :
         {".other.plist.tmp-" + dead + "-0", ".times.plist.tmp-" + dead, ".times.plist.tmp-" + liveId + "-3",
          ".times.plist.tmp-x" + dead + "-0"}) {
        EXPECT_NE(f.listing().find(kept), std::string::npos) << kept;
    }
    EXPECT_EQ(f.listing().find(".times.plist.tmp-" + dead + "-0"), std::string::npos);
    EXPECT_EQ(f.listing().find(".times.plist.tmp-" + dead + "-17"), std::string::npos);
    int status = 0;
    EXPECT_EQ(::waitpid(live, &status, WNOHANG), 0) << "the live writer was signalled";
}

TEST(AtomicFile, GivesTheNewFileTheOldOwnerAndAModeItsOwnerCanRead) {
    if (::geteuid() != 0) {
        GTEST_FAIL() << "giving files away needs the superuser, as CI runs";
    }
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    writeFile(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    ASSERT_TRUE(plist::AtomicFile::write(path, "new").ok);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
    EXPECT_EQ(info.st_mode & 07777, 0400u);
    EXPECT_EQ(readFile(path), "new");
}

TEST(AtomicFile, GivesTheNewFileTheAttributesItIsHandedBeforeItIsInPlace) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    ASSERT_TRUE(
        plist::AtomicFile::write(path, "new", plist::FileAttributes{0640, ::geteuid(), ::getegid()}).ok);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(FileLock, KeepsOtherProcessesOutUntilReleased) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    const std::string lockPath = plist::FileLock::lockPathFor(path);
    EXPECT_EQ(lockPath, folder.file(".times.plist.lock"));
    // Answers from a child whether it could take the lock without waiting.
    const auto otherCanLock = [&lockPath] {
        const pid_t child = ::fork();
        if (child == 0) {
            const int fd = ::open(lockPath.c_str(), O_RDWR);
            ::_exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    {
        const plist::FileLock lock = plist::FileLock::acquire(path);
        ASSERT_TRUE(lock.held()) << lock.failure();
        EXPECT_FALSE(otherCanLock());
    }
    EXPECT_TRUE(otherCanLock());
}

TEST(FileLock, RefusesALockPathThatIsNotAFile) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    ASSERT_EQ(::mkfifo(plist::FileLock::lockPathFor(path).c_str(), 0644), 0);
    const plist::FileLock lock = plist::FileLock::acquire(path);
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(lock.failure().empty());
}

} // namespace
