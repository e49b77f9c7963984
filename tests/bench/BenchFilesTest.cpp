#include "bench/BenchHome.h"
#include "bench/DurableCopy.h"
#include "bench/MemoryUse.h"

#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace {

const std::string kDated = "<dict>\n\t<key>Date</key>\n\t<date>2013-03-01T00:02:30Z</date>\n</dict>\n";

TEST(ChangedInOneDate, ChangesOneDigitOfTheFirstDateAndKeepsTheSize) {
    const std::string changed = bench::changedInOneDate(kDated);
    ASSERT_EQ(changed.size(), kDated.size());
    std::size_t differences = 0;
    for (std::size_t i = 0; i < changed.size(); ++i) {
        differences += changed[i] != kDated[i] ? 1 : 0;
    }
    EXPECT_EQ(differences, 1U);
    EXPECT_NE(changed.find("<date>2013-03-01T00:02:31Z</date>"), std::string::npos);
    // Changing the changed bytes again gives the original back: the two alternate.
    EXPECT_EQ(bench::changedInOneDate(changed), kDated);
}

TEST(ChangedInOneDate, RefusesBytesWithoutADate) {
    EXPECT_THROW((void)bench::changedInOneDate("<dict/>"), std::invalid_argument);
    EXPECT_THROW((void)bench::changedInOneDate("<date>20"), std::invalid_argument);
}

TEST(BenchHome, HoldsThePreferencesFolderAndIsRemovedWithItsFiles) {
    std::string path;
    {
        bench::BenchHome home;
        path = home.path();
        bench::replaceFromOutside(home.savedTimesFile(), kDated);
        EXPECT_EQ(bench::readBytes(home.savedTimesFile()), kDated);
        EXPECT_FALSE(std::filesystem::exists(home.savedTimesFile() + ".outside"));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(RewriteDurably, LeavesTheSameBytesAndNoTemporaryFile) {
    testing_support::TemporaryDirectory folder;
    const std::string path = folder.file("saved.plist");
    testing_support::writeWholeFile(path, kDated);
    EXPECT_EQ(bench::rewriteDurably(path), "");
    EXPECT_EQ(testing_support::readWholeFile(path), kDated);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(RewriteDurably, SaysWhyWhenTheFileIsMissing) {
    testing_support::TemporaryDirectory folder;
    const std::string reason = bench::rewriteDurably(folder.path() + "/missing.plist");
    EXPECT_NE(reason.find("cannot open"), std::string::npos) << reason;
}

TEST(ProcStatus, ReadsTheResidentAndPeakSizesInBytes) {
    const auto use =
        bench::parseProcStatus("Name:\tx\nVmPeak:\t  900 kB\nVmHWM:\t    512 kB\nVmRSS:\t 256 kB\n");
    EXPECT_EQ(use.resident, 256U * 1024);
    EXPECT_EQ(use.peak, 512U * 1024);
    const auto none = bench::parseProcStatus("Name:\tx\n");
    EXPECT_EQ(none.resident, 0U);
    EXPECT_EQ(none.peak, 0U);
}

TEST(ProcStatus, ThisProcessHasAPeakAtLeastItsResidentSize) {
    bench::startMemoryPeak();
    const auto use = bench::memoryNow();
    EXPECT_GT(use.resident, 0U);
    EXPECT_GE(use.peak, use.resident);
}

} // namespace
