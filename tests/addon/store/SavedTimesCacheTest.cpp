#include "addon/store/SavedTimesCache.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesLayout.h"
#include "addon/store/SavedTimesStandIns.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/FileIdentity.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/support/AddonFixture.h"
#include "tests/support/QuietRewrite.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Root = std::shared_ptr<NSMutableDictionary>;

id record(double total) {
    return lv::makeSavedTime(1.5F, {0.5F, 1.0F}, total,
                             NSDate::withTimeIntervalSince1970(testing_support::kFixedNow));
}

// An immutable tree of sections A (3 records), B (2) and C (1), a foreign string and a number.
std::shared_ptr<NSDictionary> tree() {
    auto root = NSMutableDictionary::with();
    const std::vector<std::pair<std::string, int>> sections = {{"A", 3}, {"B", 2}, {"C", 1}};
    auto list = NSMutableArray::with();
    for (const auto& [name, count] : sections) {
        list->addObject(NSString::with(name));
        auto records = NSMutableArray::with();
        for (int r = 0; r < count; ++r) {
            records->addObject(record(10.0 * r + static_cast<double>(name[0])));
        }
        root->setObject(records, lv::sectionKey(name));
    }
    root->setObject(list, lv::kSectionsKey);
    root->setObject(NSString::with("a < b & c"), "Foreign");
    root->setObject(NSNumber::withInteger(3), "Version");
    return lv::SavedTimesLayout::immutableTree(*root);
}

std::shared_ptr<NSMutableArray> section(const Root& root, const std::string& name) {
    auto copy = NSMutableArray::with(root->objectAs<NSArray>(lv::sectionKey(name))->items());
    root->setObject(copy, lv::sectionKey(name));
    return copy;
}

std::shared_ptr<NSMutableArray> list(const Root& root) {
    auto copy = NSMutableArray::with(root->objectAs<NSArray>(lv::kSectionsKey)->items());
    root->setObject(copy, lv::kSectionsKey);
    return copy;
}

struct Edit {
    const char* name;
    std::function<void(const Root&)> apply;
};

void PrintTo(const Edit& edit, std::ostream* os) {
    *os << edit.name;
}

const std::vector<Edit> kEdits = {
    {"appendRecord", [](const Root& r) { section(r, "A")->addObject(record(99)); }},
    {"deleteFirst", [](const Root& r) { section(r, "A")->removeObjectAtIndex(0); }},
    {"deleteLast",
     [](const Root& r) {
         auto a = section(r, "A");
         a->removeObjectAtIndex(a->count() - 1);
     }},
    {"moveDownWithin",
     [](const Root& r) {
         auto a = section(r, "A");
         id moved = a->objectAtIndex(0);
         a->removeObjectAtIndex(0);
         a->addObject(moved);
     }},
    {"moveUpWithin",
     [](const Root& r) {
         auto a = section(r, "A");
         id moved = a->objectAtIndex(2);
         a->removeObjectAtIndex(2);
         a->insertObject(moved, 0);
     }},
    {"moveBetween",
     [](const Root& r) {
         auto a = section(r, "A");
         auto b = section(r, "B");
         b->insertObject(a->objectAtIndex(1), 1);
         a->removeObjectAtIndex(1);
     }},
    {"emptySection", [](const Root& r) { section(r, "C")->removeAllObjects(); }},
    {"addSectionSortingFirst",
     [](const Root& r) {
         list(r)->addObject(NSString::with("&"));
         r->setObject(NSMutableArray::with(), lv::sectionKey("&"));
     }},
    {"addSectionNeedingUtf16Order",
     [](const Root& r) {
         list(r)->addObject(NSString::with("\xf0\x9f\x98\x80"));
         r->setObject(NSMutableArray::with({record(1)}), lv::sectionKey("\xf0\x9f\x98\x80"));
         r->setObject(NSString::with("x"), "Times - \xee\x80\x80");
     }},
    {"dropSection",
     [](const Root& r) {
         list(r)->removeObjectAtIndex(1);
         r->removeObjectForKey(lv::sectionKey("B"));
     }},
    {"recordsOfTheWrongType",
     [](const Root& r) { r->setObject(NSNumber::withInteger(1), lv::sectionKey("B")); }},
    {"foreignValueBecomesRecords",
     [](const Root& r) {
         r->setObject(NSMutableArray::with({record(5), record(6)}), "Foreign");
     }},
    {"sameArrayCopied", [](const Root& r) { section(r, "B"); }},
    {"lastRecordNew",
     [](const Root& r) {
         auto a = section(r, "A");
         a->replaceObjectAtIndex(a->count() - 1, record(7));
     }},
    {"everyRecordNew",
     [](const Root& r) {
         auto b = section(r, "B");
         b->replaceObjectAtIndex(0, record(1));
         b->replaceObjectAtIndex(1, record(2));
     }},
};

class SavedTimesLayoutEdits : public testing::TestWithParam<Edit> {};

// Twice in a row, so that the second edit starts from an assembled layout.
TEST_P(SavedTimesLayoutEdits, AssemblesTheWritersTextForTheEditedDictionary) {
    auto base = tree();
    std::string text = plist::xmlText(*base).text;
    auto layout = lv::SavedTimesLayout::scan(text, base);
    ASSERT_TRUE(layout);
    for (int round = 0; round < 2; ++round) {
        auto root = NSMutableDictionary::with(layout->tree()->entries());
        GetParam().apply(root);
        auto assembled = layout->assemble(text, *root);
        ASSERT_TRUE(assembled) << "round " << round;
        EXPECT_EQ(assembled->text, plist::xmlText(*root).text) << "round " << round;
        EXPECT_EQ(plist::xmlText(*assembled->layout.tree()).text, assembled->text) << "round " << round;
        text = std::move(assembled->text);
        layout = std::move(assembled->layout);
    }
}

INSTANTIATE_TEST_SUITE_P(Edits, SavedTimesLayoutEdits, testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SavedTimesLayout, FindsNoLayoutInTextAnotherWriterLaidOut) {
    auto base = tree();
    std::string spaced;
    for (char c : plist::xmlText(*base).text) {
        spaced += c == '\t' ? std::string("  ") : std::string(1, c);
    }
    EXPECT_FALSE(lv::SavedTimesLayout::scan(spaced, base));
    EXPECT_FALSE(lv::SavedTimesLayout::scan(plist::xmlText(NSDictionary()).text, NSDictionary::with({})));
}

TEST(SavedTimesLayout, AnImmutableCopySharesWhatCannotChangeAndCopiesWhatCan) {
    auto frozen = tree()->objectAs<NSArray>(lv::sectionKey("A"));
    EXPECT_EQ(lv::SavedTimesLayout::immutableCopy(frozen).get(), frozen.get());
    auto changing = NSMutableArray::with({frozen->objectAtIndex(0), record(5)});
    auto copy = rt::cast<NSArray>(lv::SavedTimesLayout::immutableCopy(changing));
    ASSERT_TRUE(copy);
    EXPECT_FALSE(rt::cast<NSMutableArray>(copy));
    EXPECT_EQ(copy->objectAtIndex(0).get(), frozen->objectAtIndex(0).get());
    EXPECT_FALSE(rt::cast<NSMutableDictionary>(copy->objectAtIndex(1)));
}

class SavedTimesCacheStore : public testing_support::DeviceHomeTest {
  protected:
    SavedTimesCacheStore() {
        lv::SavedTimesStore::setFastPaths(true);
        lv::SavedTimesCache::shared().setCheckAssembledTexts(true);
    }
    ~SavedTimesCacheStore() override { lv::SavedTimesCache::shared().setCheckAssembledTexts(false); }
    std::string file() const {
        return testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName));
    }
};

// The browser keeps the arrays it stored and changes them later; a captured record may change after
// the capture. Neither reaches what later reads of the unchanged file give.
TEST_F(SavedTimesCacheStore, ChangesByCallersAfterAWriteNeverReachLaterReads) {
    auto captured = rt::cast<NSMutableDictionary>(record(7));
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(captured).written);
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(8)).written);
    auto read = lv::SavedTimesStore::read();
    auto kept = NSMutableArray::with({lv::SavedTimesDocument(read.root).recordsOrEmpty("Default")});
    ASSERT_TRUE(lv::SavedTimesStore::deleteRecord(*kept, 0, 1).written);
    const std::string written = file();

    captured->setObject(NSNumber::withInteger(1), "Total Time");
    kept->objectAs<NSMutableArray>(0)->addObject(record(9));
    kept->objectAs<NSMutableArray>(0)->removeObjectAtIndex(0);

    const auto counts = lv::SavedTimesCache::shared().counts();
    auto again = lv::SavedTimesStore::read();
    EXPECT_EQ(lv::SavedTimesCache::shared().counts().reused, counts.reused + 1);
    EXPECT_EQ(plist::xmlText(*again.root).text, written);
    // A write from the same state writes the file's own text again.
    ASSERT_TRUE(lv::SavedTimesStore::addSection("Other").written);
    EXPECT_EQ(lv::SavedTimesStore::sectionNames(), (std::vector<std::string>{"Default", "Other"}));
    EXPECT_GT(lv::SavedTimesCache::shared().counts().assembled, counts.assembled);
}

TEST_F(SavedTimesCacheStore, AChangeFromOutsideIsSeenAtTheNextRead) {
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(7)).written);
    std::string bytes = file();
    bytes.replace(bytes.find("<string>Default</string>"), 24, "<string>Defaulx</string>");
    testing_support::writeWholeFile(preferencesFile(lv::kSavedTimesFileName), bytes);
    EXPECT_EQ(lv::SavedTimesStore::sectionNames(), std::vector<std::string>{"Defaulx"});
}

// The cache takes the file's identity from its last comparison or read, never from its own write,
// and a trusted file that changes from outside is read again.
TEST_F(SavedTimesCacheStore, TrustsOnlyAnIdentitySettledAtAReadAndSeesChangesAfterIt) {
    struct ClockGuard {
        ~ClockGuard() { plist::setCoarseClockForTesting(nullptr); }
    } guard;
    plist::setCoarseClockForTesting([] { return timespec{4'000'000'000, 1}; });
    const std::string path = preferencesFile(lv::kSavedTimesFileName);
    auto& cache = lv::SavedTimesCache::shared();
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(record(7)).written);
    const auto start = cache.counts();
    (void)lv::SavedTimesStore::sectionNames();
    EXPECT_EQ(cache.counts().trusted, start.trusted) << "the first read after a write compares";
    EXPECT_EQ(cache.counts().reused, start.reused + 1);
    (void)lv::SavedTimesStore::sectionNames();
    EXPECT_EQ(cache.counts().trusted, start.trusted + 1);

    std::string bytes = file();
    bytes.replace(bytes.find("<string>Default</string>"), 24, "<string>Defaulx</string>");
    testing_support::rewriteKeepingTimes(path, bytes);
    EXPECT_EQ(lv::SavedTimesStore::sectionNames(), std::vector<std::string>{"Defaulx"});
    EXPECT_EQ(lv::SavedTimesStore::sectionNames(), std::vector<std::string>{"Defaulx"});
    EXPECT_EQ(cache.counts().trusted, start.trusted + 2);
    EXPECT_EQ(cache.counts().parsed, start.parsed + 1);

    // Without the fast paths nothing is cached, so nothing is trusted.
    lv::SavedTimesStore::setFastPaths(false);
    (void)lv::SavedTimesStore::sectionNames();
    (void)lv::SavedTimesStore::sectionNames();
    lv::SavedTimesStore::setFastPaths(true);
    EXPECT_EQ(cache.counts().trusted, start.trusted + 2);
}

// A read for a capture makes objects of the section list and the first section only; whatever
// else it checked stands in for its text. Every way out gives the bytes a whole read would: a
// write elsewhere (whole, each stand-in read from its text), a write in place (the text copied),
// a read of everything; and a stand-in that is not where the text was checked writes nothing.
TEST_F(SavedTimesCacheStore, AReadInPartKeepsWhatItDidNotTouchAsCheckedText) {
    lv::SavedTimesCache& cache = lv::SavedTimesCache::shared();
    const std::string path = preferencesFile(lv::kSavedTimesFileName);
    const std::string elsewhere = preferencesFile("elsewhere.plist");
    const std::string original = plist::xmlText(*tree()).text;
    testing_support::writeWholeFile(path, original);
    const auto before = cache.counts();
    const lv::SavedTimesCache::Read part =
        cache.read(path, lv::SavedTimesCache::Wanted::SectionListAndFirstSection);
    ASSERT_EQ(part.status, plist::ReadStatus::Ok);
    EXPECT_EQ(cache.counts().stoodIn, before.stoodIn + 1);
    for (const auto& [key, value] : part.tree->entries()) {
        EXPECT_EQ(lv::isStandIn(value), key != lv::kSectionsKey && key != lv::sectionKey("A")) << key;
    }

    // The capture's change, made on the part read and on a whole read alike.
    const auto edit = [](const Root& root) { section(root, "A")->addObject(record(42)); };
    auto expected = plist::mutableDictionaryWithContentsOfFile(path);
    edit(expected);
    const std::string edited = plist::xmlText(*expected).text;
    auto root = NSMutableDictionary::with(part.tree->entries());
    edit(root);
    ASSERT_TRUE(cache.write(*root, elsewhere, std::nullopt).ok);
    EXPECT_EQ(testing_support::readWholeFile(elsewhere), edited);

    // Stand-ins belong to the read that made them: the write elsewhere replaced what the cache
    // holds, so the file is read again.
    const auto second = cache.read(path, lv::SavedTimesCache::Wanted::SectionListAndFirstSection);
    ASSERT_TRUE(second.tree);
    EXPECT_FALSE(cache.write(*root, path, std::nullopt).ok);
    EXPECT_EQ(file(), original);
    const auto third = cache.read(path, lv::SavedTimesCache::Wanted::SectionListAndFirstSection);
    root = NSMutableDictionary::with(third.tree->entries());
    edit(root);
    const auto assembled = cache.counts().assembled;
    ASSERT_TRUE(cache.write(*root, path, std::nullopt).ok);
    EXPECT_EQ(cache.counts().assembled, assembled + 1);
    EXPECT_EQ(file(), edited);
    const lv::SavedTimesCache::Read whole = cache.read(path);
    ASSERT_TRUE(whole.tree);
    EXPECT_FALSE(lv::holdsStandIns(*whole.tree));
    EXPECT_EQ(plist::xmlText(*whole.tree).text, edited);

    testing_support::writeWholeFile(path, original);
    const auto again = cache.read(path, lv::SavedTimesCache::Wanted::SectionListAndFirstSection);
    auto misplaced = NSMutableDictionary::with(again.tree->entries());
    misplaced->setObject(misplaced->objectForKey(lv::sectionKey("B")), "Moved");
    EXPECT_FALSE(cache.write(*misplaced, path, std::nullopt).ok);
    EXPECT_EQ(file(), original);
}

} // namespace
