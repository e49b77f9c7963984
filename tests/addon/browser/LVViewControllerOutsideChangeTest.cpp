// The saved-times file changed by something else while the browser is shown: nothing faults, the
// headers and laps follow what the file holds now, the title and rows what the list held, and the
// next appearance brings the table and the list back in line with the file.

#include "addon/store/SavedTimesStore.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "tests/addon/browser/BrowserFixture.h"

#include <filesystem>

namespace {

using testing_support::BrowserTest;
using Titles = std::vector<std::optional<std::string>>;
using Counts = std::vector<NSInteger>;

constexpr const char* kRecords = R"(
  <dict><key>Total Time</key><real>75.43</real><key>All Laps</key><array><real>30</real><real>30</real>
    <real>15.300000190734863</real></array></dict>)";
constexpr const char* kSecondRecord = R"(
  <dict><key>Total Time</key><real>42.5</real><key>All Laps</key><array><real>42.5</real></array></dict>)";
constexpr const char* kWork = R"(<key>Times - Work</key><array>
  <dict><key>Total Time</key><real>62</real><key>All Laps</key><array><real>31</real><real>31</real></array></dict>
</array>)";

std::string beforeFile() {
    return std::string("<key>Sections</key><array><string>Default</string><string>Work</string></array>") +
           "<key>Times - Default</key><array>" + kRecords + kSecondRecord + "</array>" + kWork;
}

struct OutsideChange {
    const char* name;
    /// The file's new content; nullopt removes it.
    std::optional<std::string> file;
    bool rawBytes = false;
    /// The header titles while the table still holds the old sections.
    Titles titles;
    /// The lap texts after a tap on the second result of the first section.
    std::vector<std::string> laps;
    /// The row counts once the browser has appeared again.
    Counts rowsAfter;
};

/// Prints the case by its name in test listings and failures.
void PrintTo(const OutsideChange& c, std::ostream* os) {
    *os << c.name;
}

class FileChangedFromOutside : public BrowserTest, public testing::WithParamInterface<OutsideChange> {};

TEST_P(FileChangedFromOutside, NeitherFaultsNorShowsWhatTheFileNoLongerHolds) {
    const OutsideChange& change = GetParam();
    writeSavedTimes(beforeFile());
    show();
    ASSERT_EQ(rowCounts(), (Counts{2, 1}));

    const auto path = preferencesFile(lv::kSavedTimesFileName);
    if (!change.file) {
        std::filesystem::remove(path);
    } else if (change.rawBytes) {
        writeSavedTimesBytes(*change.file);
    } else {
        writeSavedTimes(*change.file);
    }
    std::string bytesBefore = change.file ? testing_support::readWholeFile(path) : "";

    EXPECT_EQ(headerTitles(), change.titles);
    runFor(0.1);
    auto table = browser->savedTable();
    EXPECT_EQ(table->numberOfSections(), browser->numberOfSectionsInTableView(table))
        << "the table and its data source still agree after a layout";
    tapResult(0, 1);
    EXPECT_EQ(lapTexts(), change.laps);
    EXPECT_EQ(browser->topBar()->topItem()->title(), "Time: 42.5") << "the title comes from the list";
    runFor(0.5);
    ASSERT_TRUE(tapBack());
    runFor(0.5);

    hide();
    show();
    EXPECT_EQ(rowCounts(), change.rowsAfter);
    EXPECT_EQ(browser->allStopWatchSavedTimes()->count(), change.rowsAfter.size());
    // The browser only reads once its view is built: the file is left as the outside edit left it.
    EXPECT_EQ(change.file ? testing_support::readWholeFile(path) : "", bytesBefore);
    EXPECT_EQ(std::filesystem::exists(path), change.file.has_value());
    EXPECT_GT(checkers.at(0)->layoutChecks(), 0) << "the table of results was watched at every layout";
}

INSTANTIATE_TEST_SUITE_P(
    Changes, FileChangedFromOutside,
    testing::Values(
        OutsideChange{"FileRemoved", std::nullopt, false, {std::nullopt, std::nullopt}, {}, {}},
        OutsideChange{"FileUnreadable",
                      std::string("<plist><dict><key>Sections"),
                      true,
                      {std::nullopt, std::nullopt},
                      {},
                      {}},
        OutsideChange{"SectionsNoLongerAList",
                      "<key>Sections</key><dict/><key>Times - Default</key><array>" + std::string(kRecords) +
                          "</array>",
                      false,
                      {std::nullopt, std::nullopt},
                      {},
                      {}},
        OutsideChange{"FirstSectionGone",
                      "<key>Sections</key><array><string>Work</string></array>" + std::string(kWork),
                      false,
                      {"Work", std::nullopt},
                      {},
                      {1}},
        OutsideChange{"RecordGone",
                      "<key>Sections</key><array><string>Default</string><string>Work</string></array>"
                      "<key>Times - Default</key><array>" +
                          std::string(kRecords) + "</array>" + kWork,
                      false,
                      {"Default", "Work"},
                      {},
                      {1, 1}},
        OutsideChange{"SectionAdded",
                      "<key>Sections</key><array><string>Default</string><string>Work</string>"
                      "<string>New</string></array><key>Times - Default</key><array>" +
                          std::string(kRecords) + kSecondRecord + "</array>" + kWork +
                          "<key>Times - New</key><array/>",
                      false,
                      {"Default", "Work"},
                      {"42.5"},
                      {2, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
