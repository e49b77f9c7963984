#include "bench/SavedTimesGenerator.h"

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "tests/support/AddonFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Shape {
    int results;
    int sections;
};

void PrintTo(const Shape& shape, std::ostream* out) {
    *out << shape.results << " results in " << shape.sections << " sections";
}

class GeneratedFile : public testing_support::DeviceHomeTest, public ::testing::WithParamInterface<Shape> {
  protected:
    std::string path = preferencesFile(lv::kSavedTimesFileName);
};

TEST_P(GeneratedFile, HoldsEveryResultSpreadOverTheSectionsWithThreeToTenLaps) {
    const Shape shape = GetParam();
    ASSERT_EQ(bench::writeGeneratedSavedTimes({shape.results, shape.sections, 7}, path), "");

    lv::SavedTimesRead read = lv::SavedTimesStore::read();
    ASSERT_EQ(read.status, lv::SavedTimesRead::Status::Ok) << read.reason;
    lv::SavedTimesDocument document(read.root);
    const auto names = document.sectionNames();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(shape.sections));
    EXPECT_EQ(names.front(), bench::generatedSectionName(0, shape.sections));
    std::size_t total = 0;
    for (const auto& name : names) {
        auto records = document.records(name);
        ASSERT_TRUE(records) << name;
        // Round robin: the sections differ by at most one result.
        EXPECT_LE(records->count(), static_cast<std::size_t>(shape.results / shape.sections + 1));
        for (const id& record : records->items()) {
            const lv::SavedTimeView view = lv::readSavedTime(record);
            ASSERT_GE(view.laps.size(), 3U);
            ASSERT_LE(view.laps.size(), 10U);
            EXPECT_EQ(view.lastLap, view.laps.back());
            ASSERT_TRUE(view.date);
        }
        total += records->count();
    }
    EXPECT_EQ(total, static_cast<std::size_t>(shape.results));
}

TEST_P(GeneratedFile, IsWhatTheWriterWritesForItsOwnValues) {
    const Shape shape = GetParam();
    ASSERT_EQ(bench::writeGeneratedSavedTimes({shape.results, shape.sections, 7}, path), "");
    const std::string bytes = testing_support::readWholeFile(path);
    plist::ReadResult read =
        plist::PropertyListReader(plist::Mutability::MutableContainers).readDictionary(bytes);
    ASSERT_TRUE(read.ok()) << read.reason;
    EXPECT_EQ(plist::PropertyListXmlWriter().write(*read.dictionary).text, bytes);
}

INSTANTIATE_TEST_SUITE_P(Shapes, GeneratedFile,
                         ::testing::Values(Shape{1000, 1}, Shape{1000, 50}, Shape{37, 5}, Shape{0, 3}),
                         testing_support::PrintedName{});

class SavedTimesGenerator : public testing_support::DeviceHomeTest {};

TEST_F(SavedTimesGenerator, TheSameSeedGivesTheSameBytesAndAnotherSeedOtherBytes) {
    const std::string a = preferencesFile("a.plist");
    const std::string b = preferencesFile("b.plist");
    const std::string c = preferencesFile("c.plist");
    ASSERT_EQ(bench::writeGeneratedSavedTimes({500, 10, 3}, a), "");
    ASSERT_EQ(bench::writeGeneratedSavedTimes({500, 10, 3}, b), "");
    ASSERT_EQ(bench::writeGeneratedSavedTimes({500, 10, 4}, c), "");
    EXPECT_EQ(testing_support::readWholeFile(a), testing_support::readWholeFile(b));
    EXPECT_NE(testing_support::readWholeFile(a), testing_support::readWholeFile(c));
}

TEST_F(SavedTimesGenerator, SaysWhyWhenTheFileCannotBeWritten) {
    EXPECT_NE(bench::writeGeneratedSavedTimes({10, 1, 1}, home.path() + "/no/such/folder/f.plist"), "");
}

} // namespace
