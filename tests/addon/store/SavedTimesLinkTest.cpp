// A saved-times file kept elsewhere behind a symbolic link: every write of the store replaces the
// link's target, whichever write path it takes, and the link stays a link.

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesDocument.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDate.h"
#include "tests/support/AddonFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class SavedTimesLinkTest : public testing_support::DeviceHomeTest,
                           public ::testing::WithParamInterface<bool> {
  protected:
    void SetUp() override { lv::SavedTimesStore::setFastPaths(GetParam()); }
    void TearDown() override { lv::SavedTimesStore::setFastPaths(true); }
    static id record(double total) {
        return lv::makeSavedTime(1.0F, {1.0F}, total,
                                 NSDate::withTimeIntervalSince1970(testing_support::kFixedNow));
    }
};

TEST_P(SavedTimesLinkTest, CapturesAndEditsReplaceTheTargetAndKeepTheLink) {
    const std::string link = preferencesFile(lv::kSavedTimesFileName);
    const std::string target = home.file("Elsewhere/times.plist");
    fs::create_directories(fs::path(target).parent_path());
    ASSERT_EQ(::symlink("../../Elsewhere/times.plist", link.c_str()), 0);
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(1)).written);
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(2)).written);
    ASSERT_TRUE(lv::SavedTimesStore::addSection("Work").written);

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "../../Elsewhere/times.plist");
    auto file = readPreferences(lv::kSavedTimesFileName);
    ASSERT_TRUE(file);
    auto records = file->objectAs<NSArray>(lv::sectionKey("Default"));
    ASSERT_TRUE(records);
    EXPECT_EQ(records->count(), 2U);
    EXPECT_EQ(lv::SavedTimesStore::sectionNames(), (std::vector<std::string>{"Default", "Work"}));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

INSTANTIATE_TEST_SUITE_P(WritePaths, SavedTimesLinkTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Cached" : "Whole"; });

} // namespace
