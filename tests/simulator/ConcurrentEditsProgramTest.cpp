// Two `lapvane sim` processes on one home, as a person runs them: an edit made on a list one
// process shows must not erase what the other saved after that list was read.

#include "platform/foundation/NSArray.h"
#include "platform/foundation/PropertyListFile.h"
#include "tests/simulator/LapvaneProgram.h"
#include "tests/simulator/SimPipe.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::runLapvane;

class ConcurrentEditsProgram : public ::testing::Test {
  protected:
    [[nodiscard]] std::vector<std::string> options() const {
        return {"sim", "--home", home.path(), "--now", "2026-12-07T08:00:00Z", "--tz", "UTC"};
    }
    [[nodiscard]] std::size_t savedRecords() const {
        auto root = plist::dictionaryWithContentsOfFile(home.path() +
                                                        "/Library/Preferences/com.varnoth.lapvane.plist");
        auto records = root ? root->objectAs<NSArray>("Times - Default") : nullptr;
        return records ? records->count() : 0;
    }
    testing_support::TemporaryDirectory home;
    static constexpr const char* kSave = "launch\ntab stopwatch\nstart\nwait 1\nstop\nsave\n";
};

TEST_F(ConcurrentEditsProgram, ADeleteOnAListReadBeforeAnotherProcessSavedKeepsThatSave) {
    ASSERT_EQ(runLapvane(options(), kSave).status, 0);
    const std::string errors = home.file("a-stderr");
    testing_support::SimPipe shown(options(), errors);
    ASSERT_TRUE(shown.started());
    auto state = shown.step("launch\ntab saved\nwait 1\nedit\nwait 1\n");
    ASSERT_TRUE(state.has_value());
    ASSERT_EQ((*state)["saved"]["saved_table"]["sections"][0]["row_count"], 1);

    const auto other = runLapvane(options(), kSave);
    ASSERT_EQ(other.status, 0) << other.err;
    ASSERT_EQ(savedRecords(), 2U);

    state = shown.step("delete 0 0\nwait 1\n");
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(savedRecords(), 2U) << "the other process's save was erased";
    // The refused delete reloaded the table from the file: both results are listed.
    EXPECT_EQ((*state)["saved"]["saved_table"]["sections"][0]["row_count"], 2);
    EXPECT_EQ(shown.finish(), 2);
    const std::string said = testing_support::readWholeFile(errors);
    EXPECT_NE(said.find("the delete wrote nothing: the section \"Default\" changed since the list was read"),
              std::string::npos)
        << said;
}

} // namespace
