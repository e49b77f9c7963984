// The two tables as the browser fills them: sections and headers from the file, rows from the
// in-memory list, the texts of result and lap cells, reuse, and values of the wrong type.

#include "addon/browser/BrowserMessages.h"
#include "addon/store/SavedTimesStore.h"
#include "addon/views/LVLabel.h"
#include "addon/views/LVTableViewCell.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "tests/addon/browser/BrowserFixture.h"

#include <filesystem>

namespace {

using testing_support::BrowserTest;
using Titles = std::vector<std::optional<std::string>>;
using Counts = std::vector<NSInteger>;

std::string record(const std::string& total, int laps, const std::string& date = "2013-03-02T12:00:00Z") {
    std::string all;
    for (int i = 0; i < laps; ++i) {
        all += "<real>1.5</real>";
    }
    return "<dict><key>Total Time</key><real>" + total + "</real><key>All Laps</key><array>" + all +
           "</array><key>Date</key><date>" + date + "</date></dict>";
}

std::shared_ptr<NSIndexPath> at(NSInteger section, NSInteger row) {
    return NSIndexPath::indexPathForRowInSection(row, section);
}

// Sections and header titles, by file.
struct HeaderCase {
    const char* name;
    std::string file;
    Titles titles;
    Counts rows;
};

/// Prints the case by its name in test listings and failures.
void PrintTo(const HeaderCase& c, std::ostream* os) {
    *os << c.name;
}

class Headers : public BrowserTest, public testing::WithParamInterface<HeaderCase> {};

TEST_P(Headers, ComeFromTheFileAndTheRowsFromTheList) {
    writeSavedTimes(GetParam().file);
    show();
    EXPECT_EQ(headerTitles(), GetParam().titles);
    EXPECT_EQ(rowCounts(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Headers,
    testing::Values(
        HeaderCase{
            "OneEmptySectionHasNoTitle",
            "<key>Sections</key><array><string>Default</string></array><key>Times - Default</key><array/>",
            {std::nullopt},
            {0}},
        HeaderCase{
            "DefaultWithRecords",
            "<key>Sections</key><array><string>Default</string></array><key>Times - Default</key><array>" +
                record("1", 1) + record("2", 2) + "</array>",
            {"Default"},
            {2}},
        HeaderCase{"TwoSectionsTheSecondEmpty",
                   "<key>Sections</key><array><string>Default</string><string>Work</string></array>"
                   "<key>Times - Default</key><array>" +
                       record("1", 1) + "</array><key>Times - Work</key><array/>",
                   {"Default", "Work"},
                   {1, 0}},
        HeaderCase{"TwoEmptySectionsBothTitled",
                   "<key>Sections</key><array><string>A</string><string>B</string></array>",
                   {"A", "B"},
                   {0, 0}},
        // Names are the user's text: never a format, shown exactly as stored.
        HeaderCase{"NamesAreShownExactly",
                   "<key>Sections</key><array><string>  %@ %n %i 100%</string><string>&quot;Läufe&quot; 计时 "
                   "</string></array><key>Times -   %@ %n %i 100%</key><array>" +
                       record("1", 1) + "</array>",
                   {"  %@ %n %i 100%", "\"Läufe\" 计时 "},
                   {1, 0}},
        // Entries of the list that are not names are not sections.
        HeaderCase{"NonStringEntriesAreSkipped",
                   "<key>Sections</key><array><integer>3</integer><string>Work</string></array>"
                   "<key>Times - Work</key><array>" +
                       record("1", 1) + "</array>",
                   {"Work"},
                   {1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BrowserTest, AResultCellShowsItsTotalDateAndLapCount) {
    writeSavedTimes(
        "<key>Sections</key><array><string>Default</string></array><key>Times - Default</key><array>" +
        record("75.43", 12, "2013-03-02T12:00:00Z") + "</array>");
    show();
    auto cell = cellAt(browser->savedTable(), 0, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->mainLabel()->text(), "Time: 01:15.4");
    EXPECT_EQ(cell->dateLabel()->text(), "Sat, Mar 2, 2013");
    EXPECT_EQ(cell->lapsLabel()->text(), "Laps: 12 >");
    EXPECT_EQ(cell->reuseIdentifier(), "Cell");
    EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleGray);
    EXPECT_EQ(browser->savedTable()->rectForRowAtIndexPath(at(0, 0)).size.height, 70);
    auto background = std::dynamic_pointer_cast<UIImageView>(cell->backgroundView());
    ASSERT_TRUE(background && background->image());
    EXPECT_EQ(std::filesystem::path(background->image()->path()).stem(),
              "stopwatch_lap_row_background@2x~iphone");
    EXPECT_EQ(background->image()->leftCapWidth(), 5);
    EXPECT_EQ(background->image()->topCapHeight(), 0);
}

TEST_F(BrowserTest, TheDateFollowsTheDevicesLocaleAndZone) {
    writeSavedTimes(
        "<key>Sections</key><array><string>Default</string></array><key>Times - Default</key><array>" +
        record("1", 1, "2013-03-02T23:30:00Z") + "</array>");
    ns::Region::Scope german{ns::Region{"de_DE", "Europe/Berlin"}};
    show();
    EXPECT_EQ(cellAt(browser->savedTable(), 0, 0)->dateLabel()->text(), "So., März 3, 2013");
}

// A value of the wrong property-list type reads as missing.
struct WrongTypeCase {
    const char* name;
    const char* record;
    const char* main;
    std::optional<std::string> date;
    const char* laps;
};

/// Prints the case by its name in test listings and failures.
void PrintTo(const WrongTypeCase& c, std::ostream* os) {
    *os << c.name;
}

class WrongTypes : public BrowserTest, public testing::WithParamInterface<WrongTypeCase> {};

TEST_P(WrongTypes, ReadAsMissing) {
    writeSavedTimes(std::string("<key>Sections</key><array><string>Default</string></array>"
                                "<key>Times - Default</key><array>") +
                    GetParam().record + "</array>");
    show();
    auto cell = cellAt(browser->savedTable(), 0, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->mainLabel()->text(), GetParam().main);
    EXPECT_EQ(cell->dateLabel()->text().value_or(""), GetParam().date.value_or(""));
    EXPECT_EQ(cell->lapsLabel()->text(), GetParam().laps);
    tapResult(0, 0);
    EXPECT_EQ(browser->topBar()->topItem()->title(), GetParam().main);
}

INSTANTIATE_TEST_SUITE_P(
    Records, WrongTypes,
    testing::Values(
        WrongTypeCase{"TotalAsText",
                      "<dict><key>Total Time</key><string>75.4</string><key>All Laps</key>"
                      "<array><real>1</real></array><key>Date</key><date>2013-03-02T12:00:00Z</date></dict>",
                      "Time: 0.0", "Sat, Mar 2, 2013", "Laps: 1 >"},
        WrongTypeCase{"DateAsText",
                      "<dict><key>Total Time</key><real>5.3</real><key>Date</key>"
                      "<string>yesterday</string></dict>",
                      "Time: 5.3", std::nullopt, "Laps: 0 >"},
        WrongTypeCase{"LapsAsDictionary",
                      "<dict><key>Total Time</key><true/><key>All Laps</key><dict/></dict>", "Time: 0.0",
                      std::nullopt, "Laps: 0 >"},
        WrongTypeCase{"RecordAsNumber", "<integer>7</integer>", "Time: 0.0", std::nullopt, "Laps: 0 >"}),
    [](const auto& info) { return std::string(info.param.name); });

// A queued result cell is reused only when it still has all three labels.
class ReusedCell : public BrowserTest, public testing::WithParamInterface<const char*> {};

TEST_P(ReusedCell, LackingALabelIsNotUsed) {
    writeSavedTimes(
        "<key>Sections</key><array><string>Default</string></array><key>Times - Default</key><array>" +
        record("1", 1) + "</array>");
    show();
    auto broken = cellAt(browser->savedTable(), 0, 0);
    ASSERT_TRUE(broken);
    const std::string missing = GetParam();
    if (missing == "main") {
        broken->setMainLabel(nullptr);
    } else if (missing == "date") {
        broken->setDateLabel(nullptr);
    } else if (missing == "laps") {
        broken->setLapsLabel(nullptr);
    }
    hide();
    show();
    auto cell = cellAt(browser->savedTable(), 0, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell == broken, missing == "none") << "a complete cell is reused, a broken one is not";
    EXPECT_EQ(cell->mainLabel()->text(), "Time: 1.0");
}

INSTANTIATE_TEST_SUITE_P(Labels, ReusedCell, testing::Values("none", "main", "date", "laps"),
                         [](const auto& info) {
                             return std::string(info.param) == "none" ? "AllThere"
                                                                      : std::string("No_") + info.param;
                         });

TEST_F(BrowserTest, ANameListedTwiceGetsAnArrayOfItsOwn) {
    writeSavedTimes("<key>Sections</key><array><string>Work</string><string>Work</string></array>"
                    "<key>Times - Work</key><array>" +
                    record("1", 1) + "</array>");
    show();
    ASSERT_EQ(rowCounts(), (Counts{1, 1}));
    auto first = browser->allStopWatchSavedTimes()->objectAs<NSMutableArray>(0);
    auto second = browser->allStopWatchSavedTimes()->objectAs<NSMutableArray>(1);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second) << "a change to one section must not change the other";
    EXPECT_TRUE(first->isEqual(*second));
}

TEST_F(BrowserTest, ResultRowsCanBeEditedAndMovedLapRowsCannot) {
    show();
    EXPECT_TRUE(browser->tableViewCanEditRowAtIndexPath(browser->savedTable(), at(0, 0)));
    EXPECT_TRUE(browser->tableViewCanMoveRowAtIndexPath(browser->savedTable(), at(0, 0)));
    EXPECT_FALSE(browser->tableViewCanEditRowAtIndexPath(browser->lapsTable(), at(0, 0)));
    EXPECT_FALSE(browser->tableViewCanMoveRowAtIndexPath(browser->lapsTable(), at(0, 0)));
    EXPECT_EQ(browser->tableViewHeightForRowAtIndexPath(browser->savedTable(), at(0, 0)), 70);
    EXPECT_EQ(browser->tableViewHeightForRowAtIndexPath(browser->lapsTable(), at(0, 0)), 50);
    EXPECT_EQ(browser->tableViewTitleForHeaderInSection(browser->lapsTable(), 0), "Laps");
    EXPECT_EQ(browser->numberOfSectionsInTableView(browser->lapsTable()), 1);
}

// Lap rows: the lap text at the left, its number at the right, both placed from the view's width
// and the edit mode of the table of results.
class LapRows : public BrowserTest, public testing::WithParamInterface<bool> {};

TEST_P(LapRows, PlaceTheirLabelsByEditMode) {
    const bool editing = GetParam();
    writeSavedTimes(
        "<key>Sections</key><array><string>Default</string></array><key>Times - Default</key><array>"
        "<dict><key>All Laps</key><array><real>0.9</real><real>75.300003051757812</real>"
        "<real>3605.3</real></array></dict></array>");
    show();
    browser->savedTable()->setEditing(editing);
    rt::send(browser, lv::browser::setAllLapsForSectionWithIndex, 0, 0);
    runFor(0);
    auto cell = cellAt(browser->lapsTable(), 0, 2);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reuseIdentifier(), "Cell2");
    EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleNone);
    EXPECT_EQ(cell->mainLabel()->text(), "1:5.3");
    EXPECT_EQ(cell->lapsLabel()->text(), "Lap 3");
    EXPECT_EQ(cell->lapsLabel()->frame(), CGRectMake(260, 10, 80, 30));
    EXPECT_EQ(cell->lapsLabel()->alpha(), editing ? 0 : 1);
    EXPECT_EQ(cell->mainLabel()->frame(), CGRectMake(editing ? 40 : 10, 10, 320, 30));
    EXPECT_EQ(browser->lapsTable()->rectForRowAtIndexPath(at(0, 2)), CGRectMake(0, 122, 320, 50))
        << "50-point rows under the 22-point Laps header";
    auto background = std::dynamic_pointer_cast<UIImageView>(cell->backgroundView());
    ASSERT_TRUE(background && background->image());
    EXPECT_EQ(background->image()->leftCapWidth(), 5);
    EXPECT_EQ(lapTexts(), (std::vector<std::string>{"0.9", "01:15.3", "1:5.3"}));
}

INSTANTIATE_TEST_SUITE_P(EditMode, LapRows, testing::Bool(),
                         [](const auto& info) { return info.param ? "Editing" : "NotEditing"; });

TEST_F(BrowserTest, ARowTheListDoesNotHoldGivesAnEmptyCell) {
    writeSavedTimes(
        "<key>Sections</key><array><string>Default</string></array><key>Times - Default</key><array>" +
        record("1", 1) + "</array>");
    show();
    for (auto path : {at(0, 1), at(3, 0), at(-1, 0)}) {
        auto cell = std::dynamic_pointer_cast<LVTableViewCell>(
            browser->tableViewCellForRowAtIndexPath(browser->savedTable(), path));
        ASSERT_TRUE(cell);
        EXPECT_FALSE(cell->mainLabel()->text());
        EXPECT_FALSE(cell->lapsLabel()->text());
        EXPECT_EQ(browser->tableViewNumberOfRowsInSection(browser->savedTable(), path->section()),
                  path->section() == 0 ? 1 : 0);
    }
    auto lap = std::dynamic_pointer_cast<LVTableViewCell>(
        browser->tableViewCellForRowAtIndexPath(browser->lapsTable(), at(0, 4)));
    ASSERT_TRUE(lap);
    EXPECT_FALSE(lap->mainLabel()->text());
    EXPECT_EQ(lap->lapsLabel()->text(), "Lap 5");
}

} // namespace
