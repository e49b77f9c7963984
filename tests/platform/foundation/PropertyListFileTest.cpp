#include "platform/foundation/PropertyListFile.h"

#include "PropertyListFixtures.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/runtime/Runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using plist::Mutability;
using plist::ReadStatus;
using plist_test::readFile;
using plist_test::ScratchFolder;
using plist_test::writeFile;

mode_t modeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Puts a umask in force for the scope, so that the modes of new files are known.
class UmaskScope {
  public:
    explicit UmaskScope(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskScope() { ::umask(previous_); }
    UmaskScope(const UmaskScope&) = delete;
    UmaskScope& operator=(const UmaskScope&) = delete;

  private:
    mode_t previous_;
};

TEST(PropertyListFile, RoundTripsTheSavedTimesFile) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    const auto original = plist_test::savedTimes(5, 60);
    ASSERT_TRUE(plist::writeToFile(*original, path, true).ok);

    const auto read = plist::mutableDictionaryWithContentsOfFile(path);
    ASSERT_TRUE(read);
    // Dates keep whole seconds only, so compare everything else exactly and the dates floored.
    const auto records = read->objectAs<NSArray>("Times - Section 2");
    const auto originals = original->objectAs<NSArray>("Times - Section 2");
    ASSERT_TRUE(records && originals);
    ASSERT_EQ(records->count(), originals->count());
    for (std::size_t i = 0; i < records->count(); ++i) {
        const auto mine = records->objectAs<NSDictionary>(i);
        const auto theirs = originals->objectAs<NSDictionary>(i);
        EXPECT_TRUE(mine->objectForKey("All Laps")->isEqual(*theirs->objectForKey("All Laps")));
        EXPECT_EQ(mine->objectAs<NSNumber>("Total Time")->doubleValue(),
                  theirs->objectAs<NSNumber>("Total Time")->doubleValue());
        EXPECT_EQ(mine->objectAs<NSNumber>("Last Lap")->floatValue(),
                  theirs->objectAs<NSNumber>("Last Lap")->floatValue());
        EXPECT_EQ(mine->objectAs<NSDate>("Date")->timeIntervalSinceReferenceDate(),
                  std::floor(theirs->objectAs<NSDate>("Date")->timeIntervalSinceReferenceDate()));
    }
    EXPECT_TRUE(read->objectForKey("Sections")->isEqual(*original->objectForKey("Sections")));

    // Writing what was read gives the same bytes again.
    const std::string first = readFile(path);
    ASSERT_TRUE(plist::writeToFile(*read, path, true).ok);
    EXPECT_EQ(readFile(path), first);
}

TEST(PropertyListFile, ReadsSingleLapsBackAsTheValuesThatWereSaved) {
    const auto original = plist_test::oneRecordFile();
    const plist::EncodeResult text = plist::xmlText(*original);
    ASSERT_TRUE(text.ok);
    const plist::ReadResult read = plist::readDictionary(text.text, Mutability::MutableContainers);
    ASSERT_TRUE(read.ok()) << read.reason;
    const auto record = read.dictionary->objectAs<NSArray>("Times - Default")->objectAs<NSDictionary>(0);
    EXPECT_EQ(record->objectAs<NSNumber>("Last Lap")->doubleValue(), 15.30000019073486328125);
    EXPECT_EQ(record->objectAs<NSNumber>("Last Lap")->floatValue(), 15.3f);
    EXPECT_EQ(record->objectAs<NSArray>("All Laps")->objectAs<NSNumber>(0)->floatValue(), 30.04f);
    EXPECT_EQ(record->objectAs<NSNumber>("Total Time")->doubleValue(), 75.43);
}

TEST(PropertyListFile, GivesMutableContainersToTheMutableReaderOnly) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    ASSERT_TRUE(plist::writeToFile(*plist_test::oneRecordFile(), path, true).ok);

    const auto mutableRoot = plist::mutableDictionaryWithContentsOfFile(path);
    ASSERT_TRUE(mutableRoot);
    const auto records = mutableRoot->objectAs<NSMutableArray>("Times - Default");
    ASSERT_TRUE(records);
    EXPECT_TRUE(records->objectAs<NSMutableDictionary>(0));
    EXPECT_TRUE(records->objectAs<NSMutableDictionary>(0)->objectAs<NSMutableArray>("All Laps"));

    const auto root = plist::dictionaryWithContentsOfFile(path);
    ASSERT_TRUE(root);
    EXPECT_FALSE(rt::cast<NSMutableDictionary>(root));
    EXPECT_FALSE(root->objectAs<NSMutableArray>("Times - Default"));
}

struct UnusableCase {
    std::string name;
    std::string content;
    ReadStatus status;
};

void PrintTo(const UnusableCase& c, std::ostream* out) {
    *out << c.name;
}

class PropertyListFileUnusable : public ::testing::TestWithParam<UnusableCase> {};

TEST_P(PropertyListFileUnusable, ReadsAsNothingAndSaysWhy) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    if (GetParam().name == "Folder") {
        ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    } else if (GetParam().name != "Missing") {
        writeFile(path, GetParam().content);
    }
    const plist::ReadResult result = plist::readDictionaryFile(path, Mutability::MutableContainers);
    EXPECT_EQ(result.status, GetParam().status) << result.reason;
    EXPECT_FALSE(result.dictionary);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_FALSE(plist::mutableDictionaryWithContentsOfFile(path));
    EXPECT_FALSE(plist::dictionaryWithContentsOfFile(path));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PropertyListFileUnusable,
    ::testing::Values(UnusableCase{"Missing", "", ReadStatus::Missing},
                      UnusableCase{"Folder", "", ReadStatus::Inaccessible},
                      UnusableCase{"Empty", "", ReadStatus::Unreadable},
                      UnusableCase{"Garbage", "not a property list", ReadStatus::Unreadable},
                      UnusableCase{"ArrayRoot", "<plist version=\"1.0\"><array/></plist>",
                                   ReadStatus::Unreadable},
                      UnusableCase{"StringRoot", "<plist version=\"1.0\"><string>x</string></plist>",
                                   ReadStatus::Unreadable},
                      UnusableCase{"BadReal", "<plist><dict><key>a</key><real>abc</real></dict></plist>",
                                   ReadStatus::Unreadable}),
    [](const auto& info) { return info.param.name; });

// A value the writer refuses writes nothing and says so, in the words the callers show; the file
// that was there stays.
TEST(PropertyListFile, AValueTheWriterRefusesIsNotWrittenAndSaysWhy) {
    rt::Runtime runtime;
    rt::Runtime::Scope scope{runtime};
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    writeFile(path, "old");
    auto dictionary = NSMutableDictionary::with();
    dictionary->setObject(NSString::with("\xff"), "key");
    const plist::WriteResult result = plist::writeToFile(*dictionary, path, true);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason.rfind("not written: ", 0), 0u) << result.reason;
    EXPECT_EQ(readFile(path), "old");
}

TEST(PropertyListFile, RefusesAFileLargerThanTheCap) {
    ScratchFolder folder;
    const std::string path = folder.file("big.plist");
    writeFile(path,
              "<plist><dict><key>a</key><string>" + std::string(5000, 'x') + "</string></dict></plist>");
    plist::Limits limits;
    limits.maxBytes = 4096;
    const plist::ReadResult result = plist::readDictionaryFile(path, Mutability::Immutable, limits);
    // Its bytes were never parsed, so it is not known to be damaged: a writer must leave it.
    EXPECT_EQ(result.status, ReadStatus::Inaccessible);
    EXPECT_NE(result.reason.find("larger than 4096 bytes"), std::string::npos) << result.reason;
}

TEST(AtomicFile, CreatesANewFileWithTheUsualPermissionsAndLeavesNothingElse) {
    ScratchFolder folder;
    UmaskScope umask(022);
    const std::string path = folder.file("times.plist");
    const plist::WriteResult result = plist::writeToFile(*plist_test::oneRecordFile(), path, true);
    EXPECT_TRUE(result.ok) << result.reason;
    EXPECT_TRUE(result.reason.empty()) << result.reason;
    EXPECT_EQ(modeOf(path), 0644u);
    EXPECT_EQ(folder.listing(), "times.plist");
}

TEST(AtomicFile, KeepsThePermissionsOfTheFileItReplaces) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    writeFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    ASSERT_TRUE(plist::AtomicFile::write(path, "new").ok);
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(modeOf(path), 0600u);
    EXPECT_EQ(folder.listing(), "times.plist");
}

TEST(AtomicFile, FailsForAMissingFolderWithoutCreatingIt) {
    ScratchFolder folder;
    const std::string path = folder.file("Library/Preferences/times.plist");
    const plist::WriteResult result = plist::writeToFile(*plist_test::oneRecordFile(), path, true);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("No such file or directory"), std::string::npos) << result.reason;
    EXPECT_EQ(folder.listing(), "");
    EXPECT_FALSE(plist::writeToFile(*plist_test::oneRecordFile(), path, false).ok);
}

TEST(AtomicFile, LeavesTheOldFileWholeWhenTheDiskFillsUp) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    const std::string old = plist::xmlText(*plist_test::oneRecordFile()).text;
    writeFile(path, old);
    // A file-size limit makes write() fail part way with EFBIG, as a full disk fails it with
    // ENOSPC; the signal it would raise is ignored for the test.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const plist::WriteResult result = plist::writeToFile(*plist_test::savedTimes(3, 30), path, true);
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("cannot write"), std::string::npos) << result.reason;
    EXPECT_EQ(readFile(path), old);
    EXPECT_TRUE(plist::mutableDictionaryWithContentsOfFile(path));
    EXPECT_EQ(folder.listing(), "times.plist");
}

// Runs AtomicFile::write without the right to change the folder: as an ordinary user on a
// read-only folder, or, for the superuser (whom permissions do not bind), in a child process
// that gives up its rights first. Returns the child's view: 0 when the write failed for lack of
// permission, 1 when it succeeded, 2 for another failure.
int writeWithoutPermission(const ScratchFolder& folder, const std::string& path) {
    EXPECT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const auto attempt = [&] {
        const plist::WriteResult result = plist::AtomicFile::write(path, "new");
        return result.ok ? 1 : result.reason.find("Permission denied") != std::string::npos ? 0 : 2;
    };
    int outcome = 2;
    if (::geteuid() != 0) {
        outcome = attempt();
    } else {
        const pid_t child = ::fork();
        if (child == 0) {
            const bool dropped = ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(dropped ? attempt() : 3);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        outcome = WIFEXITED(status) ? WEXITSTATUS(status) : 4;
    }
    ::chmod(folder.path().c_str(), 0755);
    return outcome;
}

TEST(AtomicFile, FailsWithoutPermissionAndKeepsTheOldFile) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    writeFile(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(writeWithoutPermission(folder, path), 0);
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(folder.listing(), "times.plist");
}

TEST(AtomicFile, WritesNothingForAValueThatIsNotAPropertyList) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    writeFile(path, "old");
    auto root = plist_test::oneRecordFile();
    root->setObject(rt::make<NSObject>(), "Stray");
    const plist::WriteResult result = plist::writeToFile(*root, path, true);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.reason.find("/Stray"), std::string::npos) << result.reason;
    EXPECT_EQ(readFile(path), "old");
    EXPECT_EQ(folder.listing(), "times.plist");
    EXPECT_FALSE(plist::writeToFile(*root, path, false).ok);
    EXPECT_EQ(readFile(path), "old");
}

TEST(AtomicFile, RefusesToReplaceSomethingThatIsNotAFile) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    EXPECT_FALSE(plist::AtomicFile::write(path, "new").ok);
    EXPECT_EQ(folder.listing(), "times.plist");
}

TEST(AtomicFile, WritesInPlaceWhenNotAtomic) {
    ScratchFolder folder;
    const std::string path = folder.file("times.plist");
    writeFile(path, std::string(10000, 'x'));
    ASSERT_TRUE(plist::writeToFile(*plist_test::oneRecordFile(), path, false).ok);
    EXPECT_EQ(readFile(path), plist::xmlText(*plist_test::oneRecordFile()).text);
}

} // namespace
