// Edits apply to the list the user saw. Another writer may change the file between the read that
// made the browser's list and the edit: a delete or a move on a section that changed writes
// nothing, so the other writer's change survives; a section that did not change is edited as
// always. Names listed twice share one key, and an Add finds records left under its key.

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "tests/support/AddonFixture.h"
#include "tests/support/FailingWrites.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {

using Names = std::vector<std::string>;

class SavedTimesStoreSeenList : public testing_support::DeviceHomeTest {
  protected:
    void TearDown() override { lv::SavedTimesStore::setFastPaths(true); }

    static id record(double total) {
        return lv::makeSavedTime(1.0F, {1.0F}, total,
                                 NSDate::withTimeIntervalSince1970(testing_support::kFixedNow));
    }

    // A file of these sections, each name's key holding the totals given for it.
    void seed(const Names& names, const std::vector<std::pair<std::string, std::vector<double>>>& keys) {
        auto root = NSMutableDictionary::with();
        auto list = NSMutableArray::with();
        for (const auto& name : names) {
            list->addObject(NSString::with(name));
        }
        root->setObject(list, lv::kSectionsKey);
        for (const auto& [name, totals] : keys) {
            auto records = NSMutableArray::with();
            for (double total : totals) {
                records->addObject(record(total));
            }
            root->setObject(records, lv::sectionKey(name));
        }
        writePreferences(lv::kSavedTimesFileName, *root);
    }

    [[nodiscard]] std::string bytes() const {
        return testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName));
    }
    [[nodiscard]] Names sections() const {
        return strings(*readPreferences(lv::kSavedTimesFileName), lv::kSectionsKey);
    }
    // The totals under a name's key, in order; empty when the key is missing.
    [[nodiscard]] std::vector<double> totals(const std::string& name) const {
        std::vector<double> found;
        auto records = readPreferences(lv::kSavedTimesFileName)->objectAs<NSArray>(lv::sectionKey(name));
        for (std::size_t i = 0; records && i < records->count(); ++i) {
            found.push_back(lv::readSavedTime(records->objectAtIndex(i)).total);
        }
        return found;
    }

    // What the browser shows: each listed section's records from one read, a name listed twice
    // getting its own copy, and the names they were read under.
    struct Shown {
        std::shared_ptr<NSMutableArray> records = NSMutableArray::with();
        Names names;
        [[nodiscard]] lv::ShownSections sections() const { return {*records, names}; }
    };
    static Shown shown() {
        Shown list;
        lv::SavedTimesDocument document(lv::SavedTimesStore::read().root);
        list.names = document.sectionNames();
        for (std::size_t i = 0; i < list.names.size(); ++i) {
            auto records = document.recordsOrEmpty(list.names[i]);
            const bool earlier = std::find(list.names.begin(), list.names.begin() + static_cast<long>(i),
                                           list.names[i]) != list.names.begin() + static_cast<long>(i);
            list.records->addObject(earlier ? NSMutableArray::with(records->items()) : records);
        }
        return list;
    }

    // The reason the last operation that stored nothing logged since the one before (or the
    // test's start), as a driver of the add-on reads it.
    std::optional<std::string> refusal() {
        auto logged = lv::SavedTimesStore::refusalLoggedSince(logMark_);
        logMark_ = ns::SystemLog::mark();
        return logged;
    }
    std::uint64_t logMark_ = ns::SystemLog::mark();

    void expectRefusedBecause(const lv::SavedTimesWrite& outcome, const std::string& cause) {
        EXPECT_FALSE(outcome.written);
        EXPECT_FALSE(outcome.changeWritten);
        EXPECT_NE(outcome.reason.find(cause), std::string::npos) << outcome.reason;
        EXPECT_EQ(refusal(), outcome.reason);
    }
};

TEST_F(SavedTimesStoreSeenList, ADeleteFromAListReadBeforeAnotherSaveKeepsThatSave) {
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(1)).written);
    Shown list = shown();
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(2)).written);
    const std::string before = bytes();
    expectRefusedBecause(lv::SavedTimesStore::deleteRecord(list.sections(), 0, 0),
                         "the section \"Default\" changed since the list was read");
    EXPECT_EQ(bytes(), before);
    // Read again, the list is the file's, and the same delete is stored.
    list = shown();
    EXPECT_TRUE(lv::SavedTimesStore::deleteRecord(list.sections(), 0, 0).written);
    EXPECT_EQ(totals("Default"), std::vector<double>{2});
    EXPECT_EQ(refusal(), std::nullopt);
}

TEST_F(SavedTimesStoreSeenList, AMoveIsRefusedWhenEitherOfItsSectionsChangedOrWasRenamed) {
    seed({"A", "B"}, {{"A", {1, 2}}, {"B", {3}}});
    Shown list = shown();
    seed({"A", "B"}, {{"A", {1, 2}}, {"B", {3, 4}}});
    std::string before = bytes();
    expectRefusedBecause(lv::SavedTimesStore::moveRecord(list.sections(), 0, 0, 1, 0), "\"B\" changed since");
    EXPECT_EQ(bytes(), before);

    list = shown();
    // The same records under another name at that position are another section.
    seed({"A", "C"}, {{"A", {1, 2}}, {"C", {3, 4}}});
    before = bytes();
    expectRefusedBecause(lv::SavedTimesStore::moveRecord(list.sections(), 0, 0, 1, 0), "\"B\" changed since");
    EXPECT_EQ(bytes(), before);
    // A section another writer took out of the list is no longer the one shown.
    seed({"A", "B"}, {{"A", {1, 2}}, {"B", {3}}});
    list = shown();
    seed({"A"}, {{"A", {1, 2}}});
    before = bytes();
    expectRefusedBecause(lv::SavedTimesStore::deleteRecord(list.sections(), 1, 0), "\"B\" changed since");
    expectRefusedBecause(lv::SavedTimesStore::moveRecord(list.sections(), 0, 0, 1, 0), "\"B\" changed since");
    EXPECT_EQ(bytes(), before);
}

TEST_F(SavedTimesStoreSeenList, RecordsThatDoNotEqualThemselvesStillMatchTheirList) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    seed({"A"}, {{"A", {1, nan, 2}}});
    for (bool fast : {true, false}) {
        lv::SavedTimesStore::setFastPaths(fast);
        Shown list = shown();
        const auto outcome = lv::SavedTimesStore::moveRecord(list.sections(), 0, 0, 0, 2);
        EXPECT_TRUE(outcome.written) << "fast " << fast << ": " << outcome.reason;
    }
    // Moved to the end twice: 1, NaN, 2 became 2, 1, NaN.
    EXPECT_TRUE(std::isnan(totals("A")[2]));
}

// Seeded sessions: a list is read, another writer may change one thing in the file (a record
// added to or taken from a section, a section renamed, two sections swapped), then a random
// delete or move is made on the list. It is refused exactly when a section it changes is not
// what the list shows, and then the file is byte for byte what the other writer left; otherwise
// it is stored and the other writer's change is still in the file.
class SavedTimesStoreSeenListSessions : public SavedTimesStoreSeenList,
                                        public ::testing::WithParamInterface<unsigned> {};

TEST_P(SavedTimesStoreSeenListSessions, AnEditIsRefusedExactlyWhenItsSectionsChanged) {
    std::mt19937 random(GetParam());
    auto below = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    lv::SavedTimesStore::setFastPaths(random() % 2 == 0);
    // Three sections of up to three records, the first never empty, every total unique.
    Names names = {"A", "B", "C"};
    std::vector<std::vector<double>> records(3);
    double next = 1;
    for (auto& section : records) {
        section.resize(&section == &records.front() ? 1 + below(3) : below(4));
        for (double& total : section) {
            total = next++;
        }
    }
    auto write = [&] {
        std::vector<std::pair<std::string, std::vector<double>>> keys;
        for (std::size_t i = 0; i < names.size(); ++i) {
            keys.emplace_back(names[i], records[i]);
        }
        seed(names, keys);
    };
    write();
    Shown list = shown();
    const Names namesSeen = names;
    const auto recordsSeen = records;

    // The other writer's change, by position in the list.
    const std::size_t change = below(5);
    const std::size_t where = below(3);
    if (change == 1) {
        records[where].push_back(next++);
    } else if (change == 2 && !records[where].empty()) {
        records[where].erase(records[where].begin() + static_cast<long>(below(records[where].size())));
    } else if (change == 3) {
        names[where] = "Renamed";
    } else if (change == 4) {
        std::swap(names[where], names[(where + 1) % 3]);
        std::swap(records[where], records[(where + 1) % 3]);
    }
    if (change != 0) {
        write();
    }
    const std::string afterOther = bytes();

    std::vector<std::size_t> nonEmpty;
    for (std::size_t s = 0; s < 3; ++s) {
        if (!recordsSeen[s].empty()) {
            nonEmpty.push_back(s);
        }
    }
    const std::size_t from = nonEmpty[below(nonEmpty.size())];
    const std::size_t row = below(recordsSeen[from].size());
    const bool move = random() % 2 == 0;
    const std::size_t to = below(3);
    const std::size_t places = recordsSeen[to].size() + (to == from ? 0 : 1);
    const std::size_t toRow = below(places);
    auto changed = [&](std::size_t s) { return names[s] != namesSeen[s] || records[s] != recordsSeen[s]; };
    const bool refused = changed(from) || (move && changed(to));

    const lv::SavedTimesWrite outcome =
        move ? lv::SavedTimesStore::moveRecord(list.sections(), from, row, to, toRow)
             : lv::SavedTimesStore::deleteRecord(list.sections(), from, row);
    if (refused) {
        expectRefusedBecause(outcome, "changed since the list was read");
        EXPECT_EQ(bytes(), afterOther);
        return;
    }
    ASSERT_TRUE(outcome.changeWritten) << outcome.reason;
    // Every record the other writer left is still stored, less the one deleted.
    std::vector<double> expected;
    for (std::size_t s = 0; s < 3; ++s) {
        for (double total : records[s]) {
            if (move || s != from || total != recordsSeen[from][row]) {
                expected.push_back(total);
            }
        }
    }
    std::vector<double> stored;
    for (const auto& name : sections()) {
        for (double total : totals(name)) {
            stored.push_back(total);
        }
    }
    std::sort(expected.begin(), expected.end());
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, expected);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SavedTimesStoreSeenListSessions, ::testing::Range(1U, 121U),
                         [](const ::testing::TestParamInfo<unsigned>& info) {
                             return "seed_" + std::to_string(info.param);
                         });

TEST_F(SavedTimesStoreSeenList, EveryEditThatStoredNothingKeepsItsCauseNamed) {
    seed({"A", "B"}, {{"A", {1, 2}}, {"B", {3}}});
    {
        testing_support::FailingWrites full;
        Shown list = shown();
        const auto deleted = lv::SavedTimesStore::deleteRecord(list.sections(), 0, 0);
        EXPECT_NE(deleted.reason.find("cannot write"), std::string::npos) << deleted.reason;
        EXPECT_EQ(refusal(), deleted.reason);
        list = shown();
        const std::string moved = lv::SavedTimesStore::moveRecord(list.sections(), 0, 0, 1, 0).reason;
        EXPECT_EQ(refusal(), moved);
        const std::string added = lv::SavedTimesStore::addSection("N").reason;
        EXPECT_EQ(refusal(), added);
        const std::string captured = lv::SavedTimesStore::appendToFirstSection(record(9)).reason;
        EXPECT_EQ(refusal(), captured);
        EXPECT_NE(captured, "");
    }
    EXPECT_EQ(totals("A"), (std::vector<double>{1, 2}));

    auto root = NSMutableDictionary::with();
    root->setObject(NSString::with("A"), lv::kSectionsKey);
    writePreferences(lv::kSavedTimesFileName, *root);
    expectRefusedBecause(lv::SavedTimesStore::addSection("N"), "\"Sections\" is not a list");
    expectRefusedBecause(lv::SavedTimesStore::appendToFirstSection(record(9)), "\"Sections\" is not a list");

    root->setObject(NSArray::with({NSString::with("A")}), lv::kSectionsKey);
    root->setObject(NSString::with("not records"), lv::sectionKey("A"));
    writePreferences(lv::kSavedTimesFileName, *root);
    expectRefusedBecause(lv::SavedTimesStore::appendToFirstSection(record(9)),
                         "the first section's records are not a list");
}

TEST_F(SavedTimesStoreSeenList, AnAddKeepsTheRecordsAlreadyUnderItsKey) {
    // "Work" is missing from the list, its records still in the file.
    seed({"Default"}, {{"Default", {1}}, {"Work", {2, 3}}});
    ASSERT_TRUE(lv::SavedTimesStore::addSection("Work").written);
    EXPECT_EQ(sections(), (Names{"Default", "Work"}));
    EXPECT_EQ(totals("Work"), (std::vector<double>{2, 3}));
}

TEST_F(SavedTimesStoreSeenList, AnAddOfANameAnotherWriterListedMeanwhileWritesNothing) {
    seed({"Default", "Work"}, {{"Default", {1}}, {"Work", {2}}});
    const std::string before = bytes();
    const lv::SavedTimesWrite outcome = lv::SavedTimesStore::addSection("Work");
    expectRefusedBecause(outcome, "a section \"Work\" already exists");
    EXPECT_TRUE(outcome.alreadyExists);
    EXPECT_EQ(bytes(), before);
}

TEST_F(SavedTimesStoreSeenList, AnAddDropsAListedSectionThatHasNoKey) {
    seed({"A", "B"}, {{"A", {1}}});
    ASSERT_TRUE(lv::SavedTimesStore::addSection("N").written);
    EXPECT_EQ(sections(), (Names{"A", "N"}));
    EXPECT_EQ(totals("A"), std::vector<double>{1});
}

TEST_F(SavedTimesStoreSeenList, ANameListedTwiceIsNeverStoredTwiceNorDroppedWhileListed) {
    seed({"A", "B", "A"}, {{"A", {1.5}}, {"B", {2.5, 3.5}}});
    const std::string before = bytes();
    Shown list = shown();
    // Between the two places of A: two lists for one key.
    expectRefusedBecause(lv::SavedTimesStore::moveRecord(list.sections(), 0, 0, 2, 1),
                         "listed more than once");
    EXPECT_EQ(bytes(), before);
    // Emptying one place of A would drop the key the other still lists.
    list = shown();
    expectRefusedBecause(lv::SavedTimesStore::deleteRecord(list.sections(), 2, 0), "listed more than once");
    EXPECT_EQ(bytes(), before);

    // Into one place of A: the other place shows what the key now holds, so an edit there is
    // made on what the file holds.
    list = shown();
    ASSERT_TRUE(lv::SavedTimesStore::moveRecord(list.sections(), 1, 0, 0, 1).written);
    ASSERT_EQ(list.records->objectAs<NSArray>(2)->count(), 2U);
    ASSERT_TRUE(lv::SavedTimesStore::deleteRecord(list.sections(), 2, 0).written);
    EXPECT_EQ(sections(), (Names{"A", "B", "A"}));
    EXPECT_EQ(totals("A"), std::vector<double>{2.5});
    EXPECT_EQ(totals("B"), std::vector<double>{3.5});
}

} // namespace
