// The two steps of an edit that empties sections: the step run between the writes sees the
// change in the file and not yet the drop; the outcome says which writes reached the file and
// which sections were dropped; an edit that names no record changes nothing.

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSString.h"
#include "tests/support/AddonFixture.h"
#include "tests/support/FailingWrites.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>

namespace {

using Names = std::vector<std::string>;
using Edit = std::function<lv::SavedTimesWrite(NSMutableArray&, const lv::AfterChange&)>;

class StoreEditSteps : public testing_support::DeviceHomeTest {
  protected:
    // Writes sections A, B, C holding these numbers of records.
    void seed(const std::vector<int>& counts) {
        auto root = NSMutableDictionary::with();
        auto list = NSMutableArray::with();
        for (std::size_t i = 0; i < counts.size(); ++i) {
            const std::string name(1, static_cast<char>('A' + i));
            list->addObject(NSString::with(name));
            auto records = NSMutableArray::with();
            for (int r = 0; r < counts[i]; ++r) {
                records->addObject(
                    lv::makeSavedTime(1.0F, {1.0F}, 1.0 + r, NSDate::withTimeIntervalSince1970(0)));
            }
            root->setObject(records, lv::sectionKey(name));
        }
        root->setObject(list, lv::kSectionsKey);
        writePreferences(lv::kSavedTimesFileName, *root);
        // The browser's in-memory list: each section's records, from a fresh read.
        list_ = NSMutableArray::with();
        lv::SavedTimesDocument document(lv::SavedTimesStore::read().root);
        for (const auto& name : document.sectionNames()) {
            list_->addObject(document.recordsOrEmpty(name));
        }
    }
    [[nodiscard]] Names sections() const {
        return strings(*readPreferences(lv::kSavedTimesFileName), lv::kSectionsKey);
    }
    [[nodiscard]] std::string bytes() const {
        return testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName));
    }

    std::shared_ptr<NSMutableArray> list_;
};

struct StepsCase {
    const char* name;
    std::vector<int> counts;
    Edit edit;
    /// The section list the step between the writes sees, and the one at the end.
    Names between;
    Names after;
    std::vector<std::size_t> dropped;
    Names droppedNames;
};

void PrintTo(const StepsCase& c, std::ostream* out) {
    *out << c.name;
}

class EmptyingEdit : public StoreEditSteps, public testing::WithParamInterface<StepsCase> {};

TEST_P(EmptyingEdit, ShowsTheChangeBeforeTheDrop) {
    const StepsCase& c = GetParam();
    seed(c.counts);
    std::optional<Names> seen;
    const lv::SavedTimesWrite outcome = c.edit(*list_, [&] { seen = sections(); });
    ASSERT_TRUE(seen) << "the step runs once the change is written";
    EXPECT_EQ(*seen, c.between);
    EXPECT_EQ(sections(), c.after);
    EXPECT_TRUE(outcome.written);
    EXPECT_TRUE(outcome.changeWritten);
    EXPECT_TRUE(outcome.droppedSections);
    EXPECT_EQ(outcome.dropped, c.dropped);
    EXPECT_EQ(outcome.droppedNames, c.droppedNames);
    EXPECT_EQ(outcome.sectionsRead, c.counts.size());
}

INSTANTIATE_TEST_SUITE_P(Edits, EmptyingEdit,
                         testing::Values(StepsCase{"Delete",
                                                   {2, 1},
                                                   [](NSMutableArray& list, const lv::AfterChange& step) {
                                                       return lv::SavedTimesStore::deleteRecord(list, 1, 0,
                                                                                                step);
                                                   },
                                                   {"A", "B"},
                                                   {"A"},
                                                   {1},
                                                   {"B"}},
                                         StepsCase{"Move",
                                                   {1, 1},
                                                   [](NSMutableArray& list, const lv::AfterChange& step) {
                                                       return lv::SavedTimesStore::moveRecord(list, 0, 0, 1,
                                                                                              1, step);
                                                   },
                                                   {"A", "B"},
                                                   {"B"},
                                                   {0},
                                                   {"A"}},
                                         StepsCase{"Add",
                                                   {0, 1, 0},
                                                   [](NSMutableArray& /*list*/, const lv::AfterChange& step) {
                                                       return lv::SavedTimesStore::addSection("N", step);
                                                   },
                                                   {"A", "B", "C", "N"},
                                                   {"B", "N"},
                                                   {0, 2},
                                                   {"A", "C"}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NoRecordCase {
    const char* name;
    /// A delete of (from section, from row), or a move of it to (to section, to row).
    bool move;
    std::size_t fromSection, fromRow, toSection, toRow;
};

void PrintTo(const NoRecordCase& c, std::ostream* out) {
    *out << c.name;
}

class EditNamingNoRecord : public StoreEditSteps, public testing::WithParamInterface<NoRecordCase> {};

TEST_P(EditNamingNoRecord, ChangesNeitherTheFileNorTheList) {
    const NoRecordCase& c = GetParam();
    seed({2, 1});
    const std::string before = bytes();
    bool stepRan = false;
    const auto step = [&] { stepRan = true; };
    const lv::SavedTimesWrite outcome =
        c.move ? lv::SavedTimesStore::moveRecord(*list_, c.fromSection, c.fromRow, c.toSection, c.toRow, step)
               : lv::SavedTimesStore::deleteRecord(*list_, c.fromSection, c.fromRow, step);
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(outcome.changeWritten);
    EXPECT_FALSE(stepRan);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(list_->objectAs<NSArray>(0)->count(), 2U);
    EXPECT_EQ(list_->objectAs<NSArray>(1)->count(), 1U);
}

INSTANTIATE_TEST_SUITE_P(Edits, EditNamingNoRecord,
                         testing::Values(NoRecordCase{"DeleteBeyondTheLastRow", false, 1, 1, 0, 0},
                                         NoRecordCase{"DeleteInASectionTheListLacks", false, 2, 0, 0, 0},
                                         NoRecordCase{"MoveFromBeyondTheLastRow", true, 1, 1, 0, 0},
                                         NoRecordCase{"MoveWithinPastTheLastPlace", true, 0, 0, 0, 2},
                                         NoRecordCase{"MoveAcrossPastTheLastPlace", true, 0, 0, 1, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreEditSteps, AFailedWriteRunsNoStepAndDropsNothing) {
    seed({1, 1});
    const std::string before = bytes();
    bool stepRan = false;
    lv::SavedTimesWrite outcome;
    {
        testing_support::FailingWrites failing;
        outcome = lv::SavedTimesStore::deleteRecord(*list_, 0, 0, [&] { stepRan = true; });
    }
    EXPECT_FALSE(outcome.changeWritten);
    EXPECT_FALSE(outcome.droppedSections);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_FALSE(stepRan);
    EXPECT_EQ(bytes(), before);
}

TEST_F(StoreEditSteps, AFailedDropKeepsTheChangeAndTheEmptiedSection) {
    seed({1, 1});
    std::optional<testing_support::FailingWrites> failing;
    const lv::SavedTimesWrite outcome =
        lv::SavedTimesStore::deleteRecord(*list_, 0, 0, [&] { failing.emplace(); });
    failing.reset();
    EXPECT_TRUE(outcome.changeWritten);
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(outcome.droppedSections);
    EXPECT_TRUE(outcome.dropped.empty());
    EXPECT_EQ(sections(), (Names{"A", "B"}));
    EXPECT_EQ(readPreferences(lv::kSavedTimesFileName)->objectAs<NSArray>("Times - A")->count(), 0U);
}

} // namespace
