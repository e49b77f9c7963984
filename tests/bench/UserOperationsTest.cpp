#include "bench/UserOperations.h"

#include "bench/SavedTimesGenerator.h"

#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSPathUtilities.h"
#include "tests/support/AddonFixture.h"
#include "tests/support/CaseName.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace {

constexpr int kResults = 60;
constexpr int kSections = 3;

// What the saved times of a file hold: the section count and the number of results.
struct Contents {
    std::size_t sections = 0;
    std::size_t results = 0;
    bool operator==(const Contents&) const = default;
};

Contents contentsOf(const std::string& path) {
    ns::HomeDirectory::Scope home(
        std::filesystem::path(path).parent_path().parent_path().parent_path().string());
    lv::SavedTimesRead read = lv::SavedTimesStore::read();
    Contents contents;
    if (!read.root) {
        return contents;
    }
    lv::SavedTimesDocument document(read.root);
    for (const auto& name : document.sectionNames()) {
        ++contents.sections;
        auto records = document.records(name);
        contents.results += records ? records->count() : 0;
    }
    return contents;
}

// A generated file of 60 results in 3 sections, made once per test.
class OperationTest : public testing_support::DeviceHomeTest {
  protected:
    OperationTest() { EXPECT_EQ(bench::writeGeneratedSavedTimes({kResults, kSections, 5}, file), ""); }
    std::string file = home.file("generated.plist");
};

class EveryOperation : public OperationTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(EveryOperation, RunsAgainAndAgainOnItsOwnCopyAndLeavesTheSourceAlone) {
    const std::string before = testing_support::readWholeFile(file);
    auto operation = bench::makeOperation(GetParam(), file);
    EXPECT_EQ(operation->fileBytes(), before.size());
    EXPECT_NE(operation->filePath(), file);
    for (int i = 0; i < 4; ++i) {
        operation->prepare();
        ASSERT_NO_THROW(operation->run()) << "run " << i;
    }
    EXPECT_EQ(testing_support::readWholeFile(file), before);
    const std::string copy = operation->filePath();
    operation.reset();
    EXPECT_FALSE(std::filesystem::exists(copy));
}

INSTANTIATE_TEST_SUITE_P(Names, EveryOperation, ::testing::ValuesIn(bench::operationNames()),
                         testing_support::PrintedName{});

// What one run of an operation does to the file it was set up with.
struct Effect {
    std::string op;
    int sectionsAdded;
    int resultsAdded;
};

void PrintTo(const Effect& effect, std::ostream* out) {
    *out << effect.op;
}

class OneRun : public OperationTest, public ::testing::WithParamInterface<Effect> {};

TEST_P(OneRun, ChangesTheFileAsTheUserWouldAndPrepareStartsFromTheSameFileAgain) {
    const Effect effect = GetParam();
    auto operation = bench::makeOperation(effect.op, file);
    const Contents start = contentsOf(operation->filePath());
    const Contents expected{start.sections + static_cast<std::size_t>(effect.sectionsAdded),
                            start.results + static_cast<std::size_t>(effect.resultsAdded)};
    for (int i = 0; i < 3; ++i) {
        operation->prepare();
        EXPECT_EQ(contentsOf(operation->filePath()), start) << "before run " << i;
        operation->run();
        EXPECT_EQ(contentsOf(operation->filePath()), expected) << "after run " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Edits, OneRun,
                         ::testing::Values(Effect{"delete", 0, -1}, Effect{"add-section", 1, 0},
                                           Effect{"tab-warm", 0, 0}, Effect{"tap", 0, 0}),
                         testing_support::PrintedName{});

TEST_F(OperationTest, MovesLeaveTheFileByteForByteAsItWasAfterEverySecondRun) {
    for (const std::string op : {"move-within", "move-between"}) {
        auto operation = bench::makeOperation(op, file);
        const std::string start = testing_support::readWholeFile(operation->filePath());
        operation->run();
        EXPECT_NE(testing_support::readWholeFile(operation->filePath()), start) << op;
        operation->run();
        EXPECT_EQ(testing_support::readWholeFile(operation->filePath()), start) << op;
    }
}

TEST_F(OperationTest, SavesAddOneResultARunAndTheColdOneMeetsAFileChangedFromOutside) {
    auto warm = bench::makeOperation("save-warm", file);
    // The warm save's setup made the process's first capture.
    EXPECT_EQ(contentsOf(warm->filePath()).results, static_cast<std::size_t>(kResults + 1));
    warm->run();
    EXPECT_EQ(contentsOf(warm->filePath()).results, static_cast<std::size_t>(kResults + 2));

    auto cold = bench::makeOperation("save-cold", file);
    std::string previous;
    for (int i = 0; i < 2; ++i) {
        cold->prepare();
        const std::string replaced = testing_support::readWholeFile(cold->filePath());
        EXPECT_EQ(replaced.size(), cold->fileBytes());
        EXPECT_NE(replaced, previous);
        cold->run();
        previous = testing_support::readWholeFile(cold->filePath());
        EXPECT_EQ(contentsOf(cold->filePath()).results, static_cast<std::size_t>(kResults + 1));
    }
}

TEST_F(OperationTest, RefusesAnUnknownNameAndAMoveBetweenSectionsOfAOneSectionFile) {
    EXPECT_THROW((void)bench::makeOperation("jump", file), std::invalid_argument);
    const std::string single = home.file("single.plist");
    ASSERT_EQ(bench::writeGeneratedSavedTimes({10, 1, 1}, single), "");
    EXPECT_THROW((void)bench::makeOperation("move-between", single), std::invalid_argument);
    EXPECT_NO_THROW((void)bench::makeOperation("move-within", single));
}

} // namespace
