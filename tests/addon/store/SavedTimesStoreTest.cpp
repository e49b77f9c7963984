#include "addon/store/SavedTimesStore.h"
#include "addon/store/SavedTimeRecord.h"
#include "platform/foundation/FileLock.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "tests/support/AddonFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <tuple>

namespace {

using testing_support::DeviceHomeTest;
using Names = std::vector<std::string>;

class SavedTimesStoreTest : public DeviceHomeTest {
  protected:
    static id record(double total) {
        return lv::makeSavedTime(1.0F, {1.0F}, total,
                                 NSDate::withTimeIntervalSince1970(testing_support::kFixedNow));
    }

    // Writes a file with these sections, each holding `counts[i]` records, plus a foreign key.
    void seed(const Names& names, const std::vector<int>& counts) {
        auto root = NSMutableDictionary::with();
        auto list = NSMutableArray::with();
        for (std::size_t i = 0; i < names.size(); ++i) {
            list->addObject(NSString::with(names[i]));
            auto records = NSMutableArray::with();
            for (int r = 0; r < counts[i]; ++r) {
                records->addObject(record(10.0 * (r + 1)));
            }
            root->setObject(records, lv::sectionKey(names[i]));
        }
        root->setObject(list, lv::kSectionsKey);
        root->setObject(NSString::with("kept"), "Foreign");
        writePreferences(lv::kSavedTimesFileName, *root);
    }

    std::shared_ptr<NSDictionary> file() const { return readPreferences(lv::kSavedTimesFileName); }
    Names sections() const { return strings(*file(), lv::kSectionsKey); }
    std::size_t recordCount(const std::string& name) const {
        auto records = file()->objectAs<NSArray>(lv::sectionKey(name));
        return records ? records->count() : 0;
    }
    bool hasKey(const std::string& name) const {
        return file()->objectForKey(lv::sectionKey(name)) != nullptr;
    }

    // The browser's in-memory list: each section's records, read from the file.
    std::shared_ptr<NSMutableArray> inMemory() const {
        auto all = NSMutableArray::with();
        auto read = lv::SavedTimesStore::read();
        lv::SavedTimesDocument document(read.root);
        for (const auto& name : document.sectionNames()) {
            all->addObject(document.recordsOrEmpty(name));
        }
        return all;
    }
};

TEST_F(SavedTimesStoreTest, TheFirstCaptureCreatesTheDefaultSectionHoldingExactlyTheRecord) {
    auto result = lv::SavedTimesStore::appendToFirstSection(record(5));
    ASSERT_TRUE(result.written) << result.reason;
    EXPECT_EQ(sections(), Names{"Default"});
    ASSERT_EQ(recordCount("Default"), 1U);
    EXPECT_FLOAT_EQ(lv::readSavedTime(file()->objectAs<NSArray>("Times - Default")->objectAtIndex(0)).total,
                    5.0F);
}

TEST_F(SavedTimesStoreTest, TheFirstLoadCreatesAnEmptyDefaultSectionAndLaterLoadsWriteNothing) {
    ASSERT_TRUE(lv::SavedTimesStore::ensureSectionList().written);
    EXPECT_EQ(sections(), Names{"Default"});
    EXPECT_TRUE(hasKey("Default"));
    EXPECT_EQ(recordCount("Default"), 0U);
    EXPECT_FALSE(lv::SavedTimesStore::ensureSectionList().written);
}

TEST_F(SavedTimesStoreTest, CapturesGoToTheEndOfWhicheverSectionIsFirst) {
    seed({"Work", "Default"}, {2, 1});
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(99)).written);
    EXPECT_EQ(recordCount("Work"), 3U);
    EXPECT_EQ(recordCount("Default"), 1U);
    auto last = file()->objectAs<NSArray>("Times - Work")->objectAtIndex(2);
    EXPECT_FLOAT_EQ(lv::readSavedTime(last).total, 99.0F);
}

TEST_F(SavedTimesStoreTest, DeletingTheLastRecordOfTheOnlySectionKeepsTheSection) {
    seed({"Default"}, {1});
    auto all = inMemory();
    auto result = lv::SavedTimesStore::deleteRecord(*all, 0, 0);
    EXPECT_TRUE(result.written);
    EXPECT_FALSE(result.droppedSections);
    EXPECT_EQ(sections(), Names{"Default"});
    EXPECT_TRUE(hasKey("Default"));
    EXPECT_EQ(recordCount("Default"), 0U);
}

TEST_F(SavedTimesStoreTest, WithTwoSectionsDeletingTheLastRecordOfEitherDropsItButNeverASectionWithRecords) {
    seed({"Default", "Work"}, {1, 2});
    auto all = inMemory();
    EXPECT_FALSE(lv::SavedTimesStore::deleteRecord(*all, 1, 0).droppedSections);
    EXPECT_EQ(sections(), (Names{"Default", "Work"}));
    EXPECT_EQ(recordCount("Work"), 1U);

    all = inMemory();
    EXPECT_TRUE(lv::SavedTimesStore::deleteRecord(*all, 0, 0).droppedSections);
    EXPECT_EQ(sections(), Names{"Work"});
    EXPECT_FALSE(hasKey("Default"));
    EXPECT_EQ(file()->objectAs<NSString>("Foreign")->str(), "kept");
}

TEST_F(SavedTimesStoreTest, MovingTheOnlyRecordOutOfTheFirstSectionDropsItAndCapturesFollowTheNewFirst) {
    seed({"Default", "Work"}, {1, 0});
    auto all = inMemory();
    auto result = lv::SavedTimesStore::moveRecord(*all, 0, 0, 1, 0);
    EXPECT_TRUE(result.droppedSections);
    EXPECT_EQ(sections(), Names{"Work"});
    EXPECT_FALSE(hasKey("Default"));
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(7)).written);
    EXPECT_EQ(recordCount("Work"), 2U);
}

TEST_F(SavedTimesStoreTest, MovingWithinASectionReordersItsRecords) {
    seed({"Default"}, {3});
    auto all = inMemory();
    ASSERT_TRUE(lv::SavedTimesStore::moveRecord(*all, 0, 0, 0, 2).written);
    auto records = file()->objectAs<NSArray>("Times - Default");
    EXPECT_FLOAT_EQ(lv::readSavedTime(records->objectAtIndex(0)).total, 20.0F);
    EXPECT_FLOAT_EQ(lv::readSavedTime(records->objectAtIndex(2)).total, 10.0F);
}

struct AddSectionCase {
    const char* label;
    Names names;
    std::vector<int> counts;
    std::string added;
    Names expected;
    Names removedKeys;
};

void PrintTo(const AddSectionCase& c, std::ostream* out) {
    *out << c.label;
}

class AddSectionTest : public SavedTimesStoreTest, public ::testing::WithParamInterface<AddSectionCase> {};

TEST_P(AddSectionTest, DropsEveryOtherEmptySection) {
    const auto& c = GetParam();
    seed(c.names, c.counts);
    ASSERT_TRUE(lv::SavedTimesStore::addSection(c.added).written);
    EXPECT_EQ(sections(), c.expected);
    EXPECT_TRUE(hasKey(c.added));
    EXPECT_EQ(recordCount(c.added), 0U);
    for (const auto& gone : c.removedKeys) {
        EXPECT_FALSE(hasKey(gone)) << gone;
    }
    EXPECT_EQ(file()->objectAs<NSString>("Foreign")->str(), "kept");
}

INSTANTIATE_TEST_SUITE_P(
    SavedTimesStore, AddSectionTest,
    ::testing::Values(
        AddSectionCase{"OnlyEmptyDefault", {"Default"}, {0}, "Track", {"Track"}, {"Default"}},
        AddSectionCase{"EmptyGymAddedLastTime", {"Work", "Gym"}, {2, 0}, "Runs", {"Work", "Runs"}, {"Gym"}},
        AddSectionCase{"SeveralEmpty", {"A", "B", "C"}, {0, 0, 1}, "N", {"C", "N"}, {"A", "B"}},
        AddSectionCase{"NoneEmpty", {"A"}, {1}, "Name with  spaces ", {"A", "Name with  spaces "}, {}},
        AddSectionCase{"FormatLookingName", {"A"}, {1}, "%@ %n %s", {"A", "%@ %n %s"}, {}}),
    [](const auto& info) { return std::string(info.param.label); });

// The browser's edits on a file that went missing or unreadable after its last read: they never
// create the file, leave an unreadable one byte for byte (nor move it aside: only the capture and
// the first load do) and say nothing was written.
enum class FileState { Missing, Truncated, NotADictionary };

std::string nameOf(FileState state) {
    switch (state) {
    case FileState::Missing:
        return "Missing";
    case FileState::Truncated:
        return "Truncated";
    case FileState::NotADictionary:
        return "NotADictionary";
    }
    return "";
}

struct FileEdit {
    const char* label;
    std::function<lv::SavedTimesWrite(NSMutableArray& inMemory)> run;
};

void PrintTo(FileState state, std::ostream* out) {
    *out << nameOf(state);
}

void PrintTo(const FileEdit& edit, std::ostream* out) {
    *out << edit.label;
}

class EditOfALostFileTest : public SavedTimesStoreTest,
                            public ::testing::WithParamInterface<std::tuple<FileState, FileEdit>> {};

TEST_P(EditOfALostFileTest, WritesNothing) {
    const auto& [state, edit] = GetParam();
    seed({"Default", "Work"}, {1, 2});
    auto all = inMemory();
    const std::string path = preferencesFile(lv::kSavedTimesFileName);
    const std::string content = state == FileState::Truncated
                                    ? "<plist><dict><key>Sections</key><array><string>Default"
                                    : "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n"
                                      "<array><string>Default</string></array>\n</plist>\n";
    if (state == FileState::Missing) {
        std::filesystem::remove(path);
    } else {
        testing_support::writeWholeFile(path, content);
    }

    auto result = edit.run(*all);
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(result.droppedSections);
    EXPECT_FALSE(result.reason.empty());
    if (state == FileState::Missing) {
        EXPECT_FALSE(std::filesystem::exists(path));
    } else {
        EXPECT_EQ(testing_support::readWholeFile(path), content);
    }
    Names folder;
    const std::string lockName = std::filesystem::path(plist::FileLock::lockPathFor(path)).filename();
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
        // The writers' lock file stays once made; it holds nothing.
        if (entry.path().filename() != lockName) {
            folder.push_back(entry.path().filename().string());
        }
    }
    std::sort(folder.begin(), folder.end());
    EXPECT_EQ(folder, state == FileState::Missing ? Names{} : Names{lv::kSavedTimesFileName})
        << "nothing is created or moved aside";
}

INSTANTIATE_TEST_SUITE_P(
    SavedTimesStore, EditOfALostFileTest,
    ::testing::Combine(
        ::testing::Values(FileState::Missing, FileState::Truncated, FileState::NotADictionary),
        ::testing::Values(
            FileEdit{"Delete",
                     [](NSMutableArray& all) { return lv::SavedTimesStore::deleteRecord(all, 0, 0); }},
            FileEdit{"MoveEmptyingASection",
                     [](NSMutableArray& all) { return lv::SavedTimesStore::moveRecord(all, 0, 0, 1, 0); }},
            FileEdit{"MoveWithinASection",
                     [](NSMutableArray& all) { return lv::SavedTimesStore::moveRecord(all, 1, 0, 1, 1); }},
            FileEdit{"AddSection", [](NSMutableArray&) { return lv::SavedTimesStore::addSection("New"); }})),
    [](const auto& info) { return nameOf(std::get<0>(info.param)) + std::get<1>(info.param).label; });

TEST_F(SavedTimesStoreTest, AnUnreadableFileIsMovedAsideBeforeTheCaptureWritesANewOne) {
    const std::string path = preferencesFile(lv::kSavedTimesFileName);
    testing_support::writeWholeFile(path, "<plist><dict><key>Sections</key><array><string>Lost");
    const auto privateMode = std::filesystem::perms::owner_read | std::filesystem::perms::owner_write;
    std::filesystem::permissions(path, privateMode);
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(3)).written);
    // The new file is as private as the one it replaces.
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all, privateMode);
    const std::string aside = path + ".unreadable-20261207T080000Z";
    EXPECT_EQ(testing_support::readWholeFile(aside), "<plist><dict><key>Sections</key><array><string>Lost");
    EXPECT_EQ(sections(), Names{"Default"});
    EXPECT_EQ(recordCount("Default"), 1U);

    // A second unreadable file within the same second gets a name of its own.
    testing_support::writeWholeFile(path, "garbage");
    ASSERT_TRUE(lv::SavedTimesStore::ensureSectionList().written);
    EXPECT_EQ(testing_support::readWholeFile(aside + "-2"), "garbage");
}

TEST_F(SavedTimesStoreTest, ValuesOfTheWrongKindReadAsMissingAndAreNeverReplaced) {
    auto root = NSMutableDictionary::with();
    root->setObject(NSString::with("Default"), lv::kSectionsKey);
    root->setObject(NSNumber::withInteger(3), "Times - Default");
    writePreferences(lv::kSavedTimesFileName, *root);
    const std::string before = testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName));
    EXPECT_TRUE(lv::SavedTimesStore::sectionNames().empty());
    // Storing the record would replace the list that is not an array: nothing is written.
    const auto capture = lv::SavedTimesStore::appendToFirstSection(record(4));
    EXPECT_FALSE(capture.written);
    EXPECT_NE(capture.reason.find("is not a list"), std::string::npos) << capture.reason;
    EXPECT_FALSE(lv::SavedTimesStore::ensureSectionList().written);
    EXPECT_EQ(testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName)), before);

    auto odd = NSMutableDictionary::with();
    odd->setObject(NSArray::with({NSNumber::withInteger(1), NSString::with("2"), NSNumber::withBool(true)}),
                   lv::kAllLapsKey);
    odd->setObject(NSString::with("12.5"), lv::kTotalTimeKey);
    odd->setObject(NSNumber::withBool(true), lv::kLastLapKey);
    auto view = lv::readSavedTime(odd);
    EXPECT_EQ(view.laps, (std::vector<float>{1.0F, 0.0F, 0.0F}));
    EXPECT_EQ(view.total, 0.0F);
    EXPECT_EQ(view.lastLap, 0.0F);
    EXPECT_FALSE(view.date);
    EXPECT_EQ(lv::readSavedTime(NSNumber::withInteger(1)).laps.size(), 0U);
}

} // namespace
