// Edit mode, swipe to delete, deletes and moves: what the file, the in-memory list, the table
// (checked against the browser after every change) and the "No Saved Times" label hold right
// after the gesture and once the emptied section has left the table.

#include "addon/browser/BrowserMessages.h"
#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "addon/views/LVLabel.h"
#include "addon/views/LVTableViewCell.h"
#include "platform/foundation/NSDate.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSIndexSet.h"
#include "platform/uikit/Environment.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIViewAnimation.h"
#include "tests/addon/browser/EditingFixture.h"
#include "tests/support/TemporaryDirectory.h"

#include <ostream>

namespace {

using testing_support::at;
using testing_support::Counts;
using testing_support::EditingTest;
using testing_support::Names;
using testing_support::SectionSpec;
using testing_support::Totals;
using Kind = UITableView::RowAnimation::Kind;

/// The animation of a property of a view committed last, if any.
const ui::Animation* lastAnimation(const UIView& view, ui::AnimatedProperty property) {
    const auto& all = ui::Animator::current().animations();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->viewAddress == &view && it->property == property) {
            return &*it;
        }
    }
    return nullptr;
}

bool animated(const UITableView& table, Kind kind, NSInteger section) {
    for (const auto& change : table.lastRowAnimations()) {
        if (change.kind == kind && change.section == section &&
            change.animation == UITableViewRowAnimationFade) {
            return true;
        }
    }
    return false;
}

// ---- Edit mode -------------------------------------------------------------------------------

TEST_F(EditingTest, EditAndDoneSlideTheVisibleLabelsAndSwitchTheBarItems) {
    showFile({{"Default", 2}, {"Work", 1}});
    auto table = browser->savedTable();
    const auto cells = table->visibleCells();
    ASSERT_EQ(cells.size(), 3U);

    tapEditButton();
    auto root = browser->topBar()->topItem();
    EXPECT_TRUE(table->isEditing());
    // The table's controls come in over the time the labels slide, not at once.
    EXPECT_TRUE(table->lastEditingTransition().editing);
    EXPECT_DOUBLE_EQ(table->lastEditingTransition().end - table->lastEditingTransition().start, 0.3);
    EXPECT_EQ(browser->editButton()->title(), "Done");
    EXPECT_EQ(browser->editButton()->style(), UIBarButtonItemStyleDone);
    auto add = root->leftBarButtonItem();
    ASSERT_TRUE(add);
    EXPECT_EQ(add->title(), "Add");
    EXPECT_EQ(add->style(), UIBarButtonItemStyleDone);
    EXPECT_EQ(add->target(), browser);
    EXPECT_EQ(add->action(), lv::browser::topBarButtonClicked.sel());
    for (const auto& shown : cells) {
        auto cell = std::dynamic_pointer_cast<LVTableViewCell>(shown);
        EXPECT_EQ(cell->mainLabel()->frame().origin.x, 40);
        EXPECT_EQ(cell->lapsLabel()->alpha(), 0);
        const ui::Animation* slide = lastAnimation(*cell->mainLabel(), ui::AnimatedProperty::Frame);
        ASSERT_TRUE(slide);
        EXPECT_DOUBLE_EQ(slide->duration, 0.3);
        EXPECT_EQ(slide->curve, UIViewAnimationCurveEaseInOut);
        EXPECT_EQ(std::get<CGRect>(slide->from).origin.x, 10);
        const ui::Animation* fade = lastAnimation(*cell->lapsLabel(), ui::AnimatedProperty::Alpha);
        ASSERT_TRUE(fade);
        EXPECT_DOUBLE_EQ(fade->duration, 0.3);
    }

    // The Add item belongs to the root item alone and is made anew on each entry.
    std::weak_ptr<UIBarButtonItem> firstAdd = add;
    add.reset();
    tapEditButton();
    EXPECT_FALSE(table->isEditing());
    // Until the labels are back, the controls are still leaving.
    EXPECT_FALSE(table->lastEditingTransition().editing);
    EXPECT_DOUBLE_EQ(table->lastEditingTransition().end - table->lastEditingTransition().start, 0.3);
    EXPECT_EQ(browser->editButton()->title(), "Edit");
    EXPECT_EQ(browser->editButton()->style(), UIBarButtonItemStylePlain);
    EXPECT_FALSE(root->leftBarButtonItem());
    EXPECT_TRUE(firstAdd.expired());
    for (const auto& shown : cells) {
        auto cell = std::dynamic_pointer_cast<LVTableViewCell>(shown);
        EXPECT_EQ(cell->mainLabel()->frame().origin.x, 10);
        EXPECT_EQ(cell->lapsLabel()->alpha(), 1);
    }
    tapEditButton();
    EXPECT_TRUE(root->leftBarButtonItem());
}

TEST_F(EditingTest, OtherItemsDoNothing) {
    showFile({{"Default", 1}});
    rt::send(browser, lv::browser::topBarButtonClicked, id(browser->dismissButton()));
    rt::send(browser, lv::browser::topBarButtonClicked, id());
    EXPECT_EQ(browser->editButton()->title(), "Edit");
    EXPECT_FALSE(browser->savedTable()->isEditing());
    EXPECT_TRUE(alerts().empty());
}

TEST_F(EditingTest, ASwipeFadesTheLapCountOutAndBackWithoutMovingTheTime) {
    showFile({{"Default", 2}});
    auto table = browser->savedTable();
    auto cell = cellAt(table, 0, 1);
    ASSERT_TRUE(table->simulateSwipeOnRow(at(0, 1)));
    EXPECT_EQ(cell->lapsLabel()->alpha(), 0);
    EXPECT_EQ(cell->mainLabel()->frame().origin.x, 10);
    const ui::Animation* fade = lastAnimation(*cell->lapsLabel(), ui::AnimatedProperty::Alpha);
    ASSERT_TRUE(fade);
    EXPECT_DOUBLE_EQ(fade->duration, ui::Animator::kDefaultDuration);
    EXPECT_EQ(cellAt(table, 0, 0)->lapsLabel()->alpha(), 1) << "only the swiped row";

    ASSERT_TRUE(table->simulateTapOutside());
    EXPECT_EQ(cell->lapsLabel()->alpha(), 1);
    EXPECT_EQ(cell->mainLabel()->frame().origin.x, 10);
    EXPECT_EQ(fileTotals(), (Totals{{1, 2}}));
}

TEST_F(EditingTest, EditTappedWhileARowShowsItsDeleteButtonHidesThatRowsLapCountToo) {
    showFile({{"Default", 2}});
    auto table = browser->savedTable();
    ASSERT_TRUE(table->simulateSwipeOnRow(at(0, 1)));
    // Entering edit mode puts the Delete button away; its end must not bring the count back.
    tapEditButton();
    EXPECT_FALSE(table->swipedRow());
    for (NSInteger row = 0; row < 2; ++row) {
        EXPECT_EQ(cellAt(table, 0, row)->lapsLabel()->alpha(), 0) << "row " << row;
        EXPECT_EQ(cellAt(table, 0, row)->mainLabel()->frame().origin.x, 40) << "row " << row;
    }
    tapEditButton();
    EXPECT_EQ(cellAt(table, 0, 1)->lapsLabel()->alpha(), 1);
}

TEST_F(EditingTest, ACellFilledWhileARowIsSwipedTakesThePlacesOfTheBrowsersMode) {
    // Deleting the one result of the first section by a swipe brings the sixth result of the
    // second on screen while the swipe is still on: it is filled outside edit mode.
    showFile({{"A", 1}, {"B", 6}});
    auto table = browser->savedTable();
    deleteRow(0, 0);
    runFor(1);
    EXPECT_FALSE(table->isEditing());
    const auto visible = table->indexPathsForVisibleRows();
    ASSERT_GE(visible.size(), 6U);
    for (const auto& path : visible) {
        auto cell = cellAt(table, path->section(), path->row());
        EXPECT_EQ(cell->mainLabel()->frame().origin.x, 10) << "row " << path->section() << " " << path->row();
        EXPECT_EQ(cell->lapsLabel()->alpha(), 1) << "row " << path->section() << " " << path->row();
    }
}

// ---- Delete ----------------------------------------------------------------------------------

TEST_F(EditingTest, ACommitOfAStyleOtherThanDeleteChangesNothing) {
    showFile({{"Default", 2}, {"Work", 1}});
    const std::string path = preferencesFile(lv::kSavedTimesFileName);
    const std::string before = testing_support::readWholeFile(path);
    for (auto style : {UITableViewCellEditingStyleNone, UITableViewCellEditingStyleInsert}) {
        browser->tableViewCommitEditingStyleForRowAtIndexPath(browser->savedTable(), style, at(1, 0));
    }
    runFor(1);
    EXPECT_EQ(testing_support::readWholeFile(path), before);
    EXPECT_EQ(rowCounts(), (Counts{2, 1}));
    EXPECT_EQ(listCounts(), (Counts{2, 1}));
    EXPECT_TRUE(pendingMessages().empty());
}

struct DeleteCase {
    const char* name;
    SectionSpec sections;
    bool inEditMode;
    NSInteger section;
    NSInteger row;
    /// The table's rows right after the delete, and once the delayed messages have run.
    Counts rowsNow;
    Counts rowsLater;
    Names sectionsInFile;
    Totals totals;
    bool labelShown;
};

void PrintTo(const DeleteCase& c, std::ostream* out) {
    *out << c.name;
}

class Deleting : public EditingTest, public testing::WithParamInterface<DeleteCase> {};

TEST_P(Deleting, ChangesTheFileAtOnceAndTheTableInStep) {
    const DeleteCase& c = GetParam();
    showFile(c.sections);
    if (c.inEditMode) {
        tapEditButton();
    }
    deleteRow(c.section, c.row);

    EXPECT_EQ(rowCounts(), c.rowsNow);
    auto table = browser->savedTable();
    EXPECT_TRUE(animated(*table, Kind::DeleteRow, c.section)) << "the row fades out at once";
    EXPECT_EQ(fileSections(), c.sectionsInFile);
    EXPECT_EQ(fileTotals(), c.totals);
    EXPECT_TRUE(savedTimes()->objectForKey("Foreign"));
    for (const auto& [name, count] : c.sections) {
        const bool listed =
            std::find(c.sectionsInFile.begin(), c.sectionsInFile.end(), name) != c.sectionsInFile.end();
        EXPECT_EQ(fileHasKey(name), listed) << name;
    }
    // The list was rebuilt from the file just written.
    Counts inFile;
    for (const auto& totals : c.totals) {
        inFile.push_back(static_cast<NSInteger>(totals.size()));
    }
    EXPECT_EQ(listCounts(), inFile);
    EXPECT_EQ(browser->noSavedTimes()->isHidden(), !c.labelShown);

    const bool removes = c.rowsNow.size() != c.rowsLater.size();
    const bool onlySection = c.sections.size() == 1;
    EXPECT_EQ(pendingMessages(), removes       ? std::vector<std::string>{"deleteEmptySections:"}
                                 : onlySection ? std::vector<std::string>{"reloadDeley"}
                                               : std::vector<std::string>{});
    runFor(0.09);
    EXPECT_EQ(rowCounts(), c.rowsNow) << "the emptied section stays a tenth of a second";
    runFor(0.01);
    EXPECT_EQ(rowCounts(), c.rowsLater);
    EXPECT_TRUE(pendingMessages().empty());
    if (removes) {
        EXPECT_TRUE(animated(*table, Kind::DeleteSection, c.section));
        EXPECT_EQ(table->lastRowAnimations().size(), 1u) << "the other sections stay as they are";
    }
    if (c.labelShown) {
        EXPECT_EQ(headerTitles(), (std::vector<std::optional<std::string>>{std::nullopt})) << "reloaded";
    }
    EXPECT_EQ(table->isEditing(), c.inEditMode);
}

INSTANTIATE_TEST_SUITE_P(Cases, Deleting,
                         testing::Values(DeleteCase{"OnlyRecordOfTheOnlySection",
                                                    {{"Default", 1}},
                                                    false,
                                                    0,
                                                    0,
                                                    {0},
                                                    {0},
                                                    {"Default"},
                                                    Totals{{}},
                                                    true},
                                         DeleteCase{"OneOfTwoWhileAnotherSectionExists",
                                                    {{"Default", 2}, {"Work", 1}},
                                                    true,
                                                    0,
                                                    1,
                                                    {1, 1},
                                                    {1, 1},
                                                    {"Default", "Work"},
                                                    Totals{{1}, {11}},
                                                    false},
                                         DeleteCase{"LastOfTheFirstOfTwoSections",
                                                    {{"Default", 1}, {"Work", 2}},
                                                    true,
                                                    0,
                                                    0,
                                                    {0, 2},
                                                    {2},
                                                    {"Work"},
                                                    Totals{{11, 12}},
                                                    false},
                                         DeleteCase{"LastOfTheMiddleSectionBySwipe",
                                                    {{"A", 1}, {"B", 1}, {"C", 2}},
                                                    false,
                                                    1,
                                                    0,
                                                    {1, 0, 2},
                                                    {1, 2},
                                                    {"A", "C"},
                                                    Totals{{1}, {21, 22}},
                                                    false},
                                         DeleteCase{"OneOfTwoOfTheOnlySection",
                                                    {{"Default", 2}},
                                                    true,
                                                    0,
                                                    0,
                                                    {1},
                                                    {1},
                                                    {"Default"},
                                                    Totals{{2}},
                                                    false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, WhileAnEmptiedSectionWaitsTheTableShowsItAsItWas) {
    showFile({{"A", 1}, {"B", 1}, {"C", 2}});
    tapEditButton();
    deleteRow(1, 0);
    auto table = browser->savedTable();
    EXPECT_EQ(headerTitles(), (std::vector<std::optional<std::string>>{"A", "B", "C"}));
    EXPECT_EQ(browser->numberOfSectionsInTableView(table), 3);
    EXPECT_EQ(browser->tableViewNumberOfRowsInSection(table, 1), 0);
    EXPECT_EQ(browser->tableViewNumberOfRowsInSection(table, 2), 2);
    auto cell =
        std::dynamic_pointer_cast<LVTableViewCell>(browser->tableViewCellForRowAtIndexPath(table, at(2, 1)));
    EXPECT_EQ(cell->mainLabel()->text(), "Time: 22.0");
    // Done meanwhile puts back every label of the table as shown.
    ASSERT_TRUE(browser->topBar()->simulateTapRightItem());
    for (NSInteger s : {0, 2}) {
        auto shown = cellAt(table, s, 0);
        ASSERT_TRUE(shown) << "section " << s;
        EXPECT_EQ(shown->mainLabel()->frame().origin.x, 10) << "section " << s;
    }
    EXPECT_EQ(fileSections(), (Names{"A", "C"}));
    runFor(0.1);
    EXPECT_EQ(headerTitles(), (std::vector<std::optional<std::string>>{"A", "C"}));
    EXPECT_EQ(rowCounts(), (Counts{1, 2}));
}

// ---- Move ------------------------------------------------------------------------------------

struct MoveCase {
    const char* name;
    SectionSpec sections;
    NSInteger fromSection;
    NSInteger fromRow;
    NSInteger toSection;
    NSInteger toRow;
    Counts rowsNow;
    Counts rowsLater;
    Names sectionsInFile;
    Totals totals;
};

void PrintTo(const MoveCase& c, std::ostream* out) {
    *out << c.name;
}

class Moving : public EditingTest, public testing::WithParamInterface<MoveCase> {};

TEST_P(Moving, StoresTheOrderShownAndDropsAnEmptiedSourceSection) {
    const MoveCase& c = GetParam();
    showFile(c.sections);
    tapEditButton();
    const auto listBefore = browser->allStopWatchSavedTimes();
    dragRow(c.fromSection, c.fromRow, c.toSection, c.toRow);

    EXPECT_EQ(rowCounts(), c.rowsNow);
    EXPECT_EQ(fileSections(), c.sectionsInFile);
    EXPECT_EQ(fileTotals(), c.totals);
    EXPECT_TRUE(savedTimes()->objectForKey("Foreign"));
    const bool removes = c.rowsNow.size() != c.rowsLater.size();
    // A move that drops no section leaves the list as it is: it already holds what the file holds.
    EXPECT_EQ(browser->allStopWatchSavedTimes() == listBefore, !removes);
    EXPECT_EQ(pendingMessages(),
              removes ? std::vector<std::string>{"deleteEmptySections:"} : std::vector<std::string>{});
    runFor(0.1);
    EXPECT_EQ(rowCounts(), c.rowsLater);
    EXPECT_FALSE(fileHasKey(c.sections[static_cast<std::size_t>(c.fromSection)].first) && removes);
}

INSTANTIATE_TEST_SUITE_P(Cases, Moving,
                         testing::Values(MoveCase{"DefaultsOnlyRecordIntoWork",
                                                  {{"Default", 1}, {"Work", 1}},
                                                  0,
                                                  0,
                                                  1,
                                                  0,
                                                  {0, 2},
                                                  {2},
                                                  {"Work"},
                                                  Totals{{1, 11}}},
                                         MoveCase{"DownWithinTheOnlySection",
                                                  {{"Default", 3}},
                                                  0,
                                                  0,
                                                  0,
                                                  2,
                                                  {3},
                                                  {3},
                                                  {"Default"},
                                                  Totals{{2, 3, 1}}},
                                         MoveCase{"UpWithinASectionBesideAnother",
                                                  {{"A", 2}, {"B", 1}},
                                                  0,
                                                  1,
                                                  0,
                                                  0,
                                                  {2, 1},
                                                  {2, 1},
                                                  {"A", "B"},
                                                  Totals{{2, 1}, {11}}},
                                         MoveCase{"IntoAnotherSectionThatKeepsItsRecords",
                                                  {{"A", 2}, {"B", 1}},
                                                  0,
                                                  0,
                                                  1,
                                                  1,
                                                  {1, 2},
                                                  {1, 2},
                                                  {"A", "B"},
                                                  Totals{{2}, {11, 1}}},
                                         MoveCase{"TheOnlyRecordOfTheOnlySectionInPlace",
                                                  {{"Default", 1}},
                                                  0,
                                                  0,
                                                  0,
                                                  0,
                                                  {1},
                                                  {1},
                                                  {"Default"},
                                                  Totals{{1}}}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- A second change while an emptied section waits to leave the table ---------------------

TEST_F(EditingTest, ASecondDeleteWhileASectionWaitsTakesTheSectionOutFirst) {
    showFile({{"A", 1}, {"B", 1}, {"C", 2}});
    tapEditButton();
    deleteRow(0, 0);
    // Still the table as shown: C is its third section.
    deleteRow(2, 1);
    EXPECT_EQ(rowCounts(), (Counts{1, 1}));
    EXPECT_EQ(fileTotals(), (Totals{{11}, {21}}));
    runFor(1);
    EXPECT_EQ(rowCounts(), (Counts{1, 1}));
}

TEST_F(EditingTest, ADragWhileASectionWaitsEndsWithTheTableShowingTheFile) {
    showFile({{"A", 1}, {"B", 1}, {"C", 1}});
    tapEditButton();
    deleteRow(0, 0);
    dragRow(2, 0, 1, 1);
    runFor(1);
    EXPECT_EQ(fileSections(), Names{"B"});
    EXPECT_EQ(fileTotals(), (Totals{{11, 21}}));
    EXPECT_EQ(rowCounts(), (Counts{2}));
}

TEST_F(EditingTest, AResultTappedWhileASectionWaitsShowsItsOwnLaps) {
    showFile({{"A", 1}, {"B", 2}});
    deleteRow(0, 0);
    // Still the table as shown: B is its second section.
    tapResult(1, 1);
    EXPECT_EQ(rowCounts(), (Counts{2}));
    EXPECT_EQ(lapTexts(), std::vector<std::string>{"12.0"});
    EXPECT_EQ(browser->topBar()->topItem()->title(), "Time: 12.0");
    runFor(1);
    EXPECT_FALSE(browser->savedTable()->indexPathForSelectedRow()) << "the tapped row is deselected";
}

TEST_F(EditingTest, LeavingTheScreenTakesAWaitingSectionOutAtOnce) {
    showFile({{"A", 1}, {"B", 1}});
    deleteRow(0, 0);
    hide();
    EXPECT_EQ(rowCounts(), (Counts{1}));
    EXPECT_TRUE(pendingMessages().empty());
    // A result saved meanwhile meets no open batch.
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(
                    lv::makeSavedTime(5.0F, {5.0F}, 5.0, NSDate::withTimeIntervalSince1970(0)))
                    .written);
    runFor(1);
    show();
    EXPECT_EQ(rowCounts(), (Counts{2}));
}

// While an emptied section waits, a row of a section before it keeps its index: the first
// section is a section like any other.
TEST_F(EditingTest, DeletesInTheFirstSectionWhileALaterOneWaits) {
    showFile({{"A", 2}, {"B", 1}, {"C", 1}});
    tapEditButton();
    deleteRow(1, 0);
    deleteRow(0, 0);
    EXPECT_EQ(fileSections(), (Names{"A", "C"}));
    EXPECT_EQ(fileTotals(), (Totals{{2}, {21}}));
    runFor(0.1);
    EXPECT_EQ(rowCounts(), (Counts{1, 1}));
}

// The list read again while the emptied section waits (the file changed meanwhile) no longer
// matches the table less that section: the batch replaces every section instead of animating
// one out, and the table ends as the browser answers.
TEST_F(EditingTest, ReplacesEverySectionWhenTheListChangedWhileASectionWaits) {
    showFile({{"A", 1}, {"B", 1}, {"C", 2}});
    deleteRow(1, 0);
    ASSERT_TRUE(lv::SavedTimesStore::addSection("D", {}).changeWritten);
    rt::send(browser, lv::browser::refreshAllStopWatchSavedTimes);
    runFor(0.1);
    EXPECT_EQ(rowCounts(), (Counts{1, 2, 0}));
    auto table = browser->savedTable();
    EXPECT_TRUE(animated(*table, Kind::InsertSection, 2));
    EXPECT_EQ(headerTitles(), (std::vector<std::optional<std::string>>{"A", "C", "D"}));
}

TEST_F(EditingTest, DeleteEmptySectionsWithoutAWaitingRemovalDoesNothing) {
    showFile({{"A", 1}, {"B", 1}});
    rt::send(browser, lv::browser::deleteEmptySections, id(NSIndexSet::indexSetWithIndex(0)));
    EXPECT_EQ(rowCounts(), (Counts{1, 1}));
}

} // namespace
