#include "platform/foundation/FileIdentity.h"
#include "platform/foundation/FileBytes.h"
#include "tests/support/QuietRewrite.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

using plist::FileIdentity;
using plist::FileStamp;
using testing_support::TemporaryDirectory;

timespec at(time_t seconds, long nanoseconds) {
    return {seconds, nanoseconds};
}

FileStamp stampChangedAt(timespec changed) {
    FileStamp stamp;
    stamp.device = 5;
    stamp.inode = 77;
    stamp.size = 4096;
    stamp.modified = at(1000, 123456789);
    stamp.changed = changed;
    return stamp;
}

// The rule itself: a change time settles only once the clock read before the comparison is past it
// at the granularity the change time allows, on a file system that keeps local change times.
TEST(FileIdentity, SettlesOnlyWhenTheChangeTimeIsStrictlyOlderThanTheClockAtItsGranularity) {
    const timespec changed = at(1000, 123456789);
    EXPECT_FALSE(FileIdentity(stampChangedAt(changed), changed, true).settled()) << "equal to the clock";
    EXPECT_FALSE(FileIdentity(stampChangedAt(changed), at(1000, 123456788), true).settled())
        << "clock behind";
    EXPECT_FALSE(FileIdentity(stampChangedAt(changed), at(999, 999999999), true).settled());
    EXPECT_TRUE(FileIdentity(stampChangedAt(changed), at(1000, 123456790), true).settled());
    EXPECT_TRUE(FileIdentity(stampChangedAt(changed), at(1001, 0), true).settled());
    EXPECT_FALSE(FileIdentity(stampChangedAt(changed), at(1001, 0), false).settled())
        << "a file system without local change times is never trusted";

    // Ten-millisecond stamps: a clock within the same ten milliseconds is not past the change time.
    const timespec coarse = at(1000, 120000000);
    EXPECT_EQ(FileIdentity::granularityOf(coarse), 10000000);
    EXPECT_FALSE(FileIdentity(stampChangedAt(coarse), at(1000, 129999999), true).settled());
    EXPECT_TRUE(FileIdentity(stampChangedAt(coarse), at(1000, 130000000), true).settled());

    // Whole seconds say nothing of the granularity: never trusted, however late the clock.
    const timespec seconds = at(1000, 0);
    EXPECT_EQ(FileIdentity::granularityOf(seconds), 1000000000);
    EXPECT_FALSE(FileIdentity(stampChangedAt(seconds), at(5000, 0), true).settled());
    EXPECT_EQ(FileIdentity::granularityOf(at(0, 1)), 1);
    EXPECT_EQ(FileIdentity::granularityOf(at(0, 500000000)), 100000000);
}

TEST(FileIdentity, VouchesOnlyForTheSameFiveFields) {
    const FileStamp recorded = stampChangedAt(at(1000, 123456789));
    const FileIdentity identity(recorded, at(2000, 1), true);
    EXPECT_TRUE(identity.vouchesFor(recorded));
    std::vector<FileStamp> others(5, recorded);
    others[0].device += 1;
    others[1].inode += 1;
    others[2].size += 1;
    others[3].modified.tv_nsec += 1;
    others[4].changed.tv_nsec += 1;
    for (std::size_t i = 0; i < others.size(); ++i) {
        EXPECT_FALSE(identity.vouchesFor(others[i])) << "field " << i;
    }
    EXPECT_FALSE(FileIdentity(recorded, recorded.changed, true).vouchesFor(recorded)) << "racily clean";
}

TEST(FileIdentity, KnowsLocalFileSystemsFromOthers) {
    TemporaryDirectory folder;
    testing_support::writeWholeFile(folder.file("f"), "x");
    const int local = ::open(folder.file("f").c_str(), O_RDONLY | O_CLOEXEC);
    const int proc = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(local, 0);
    ASSERT_GE(proc, 0);
    EXPECT_TRUE(plist::keepsLocalChangeTimes(local)) << "the temporary folder's file system";
    EXPECT_FALSE(plist::keepsLocalChangeTimes(proc));
    ::close(local);
    ::close(proc);
}

// Reads through readFileBytesKnowing as a cache does: the identity each read reports is kept for
// the next, with the clock of the test in charge.
class KnownReads : public testing::Test {
  protected:
    void TearDown() override { plist::setCoarseClockForTesting(nullptr); }

    // What the next read tells: "trusted", "compared" (unchanged) or the bytes it read.
    std::string read() {
        std::string bytes;
        plist::KnownRead outcome;
        const plist::ReadResult result =
            plist::readFileBytesKnowing(path, 1 << 20, plist::KnownFile{known, identity}, bytes, outcome);
        EXPECT_TRUE(result.ok()) << result.reason;
        identity = outcome.identity;
        if (outcome.unchanged) {
            return outcome.trusted ? "trusted" : "compared";
        }
        known = bytes;
        return bytes;
    }

    static timespec farAhead() { return {4'000'000'000, 1}; }
    static timespec stopped() { return {0, 1}; }

    TemporaryDirectory folder;
    std::string path = folder.file("saved.plist");
    std::string known;
    std::optional<FileIdentity> identity;
};

TEST_F(KnownReads, ASettledFileIsTrustedAndAnyRewriteAfterwardsIsSeen) {
    testing_support::writeWholeFile(path, "<dict>A</dict>");
    plist::setCoarseClockForTesting(&farAhead);
    EXPECT_EQ(read(), "<dict>A</dict>");
    EXPECT_EQ(read(), "trusted");
    EXPECT_EQ(read(), "trusted");
    // Same size, same inode, same modification time: only the change time tells.
    testing_support::rewriteKeepingTimes(path, "<dict>B</dict>");
    EXPECT_EQ(read(), "<dict>B</dict>");
    EXPECT_EQ(read(), "trusted");
    // A new file renamed over it, with the same size and modification time.
    testing_support::replaceKeepingTimes(path, "<dict>C</dict>");
    EXPECT_EQ(read(), "<dict>C</dict>");
    EXPECT_EQ(read(), "trusted");
}

TEST_F(KnownReads, ARacilyCleanFileIsComparedAtEveryRead) {
    testing_support::writeWholeFile(path, "<dict>A</dict>");
    // A clock that never passes the file's change time: as if every read came in its write's tick.
    plist::setCoarseClockForTesting(&stopped);
    EXPECT_EQ(read(), "<dict>A</dict>");
    EXPECT_EQ(read(), "compared");
    EXPECT_EQ(read(), "compared");
    testing_support::rewriteKeepingTimes(path, "<dict>B</dict>");
    EXPECT_EQ(read(), "<dict>B</dict>");
    EXPECT_EQ(read(), "compared");
}

// With the real clock, a same-size rewrite right after a read, within the same clock tick as often
// as not, is always seen; once the clock has passed the change time, reads are trusted.
TEST_F(KnownReads, SameSizeRewritesWithinOneTickAreSeenWithTheRealClock) {
    testing_support::writeWholeFile(path, "<dict>0</dict>");
    EXPECT_EQ(read(), "<dict>0</dict>");
    for (int i = 1; i < 100; ++i) {
        const std::string next = "<dict>" + std::to_string(i % 10) + "</dict>";
        testing_support::rewriteKeepingTimes(path, next);
        ASSERT_EQ(read(), next) << "rewrite " << i;
    }
    testing_support::waitForTheClockToPass(path);
    const std::string settling = read();
    EXPECT_TRUE(settling == "compared" || settling == "trusted") << settling;
    EXPECT_EQ(read(), "trusted");
}

} // namespace
