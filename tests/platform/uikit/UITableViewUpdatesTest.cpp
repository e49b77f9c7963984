// Batch updates of UITableView: validation with the platform's messages, nesting, and cells
// following their rows.

#include "tests/platform/uikit/UITableViewTestSupport.h"

#include <functional>

namespace {

using namespace table_tests;

struct InvalidUpdate {
    const char* name;
    std::function<void(ModelTableDataSource&)> change;
    std::function<void(UITableView&)> update;
    std::string message;
};

void PrintTo(const InvalidUpdate& c, std::ostream* out) {
    *out << c.name;
}

void removeRow(ModelTableDataSource& m, std::size_t s, std::size_t r) {
    m.sections[s].rows.erase(m.sections[s].rows.begin() + static_cast<std::ptrdiff_t>(r));
}

std::vector<std::shared_ptr<NSIndexPath>> paths(std::initializer_list<std::pair<NSInteger, NSInteger>> list) {
    std::vector<std::shared_ptr<NSIndexPath>> out;
    for (auto [s, r] : list) {
        out.push_back(at(s, r));
    }
    return out;
}

std::string rowsMessage(int section, int after, int before, int inserted, int deleted, int in = 0,
                        int out = 0) {
    char text[1024];
    std::snprintf(
        text, sizeof text,
        "Invalid update: invalid number of rows in section %d.  The number of rows contained in an existing "
        "section after the update (%d) must be equal to the number of rows contained in that section "
        "before the update (%d), plus or minus the number of rows inserted or deleted from that section "
        "(%d inserted, %d deleted) and plus or minus the number of rows moved into or out of that section "
        "(%d moved in, %d moved out).",
        section, after, before, inserted, deleted, in, out);
    return text;
}

std::string sectionsMessage(int after, int before, int inserted, int deleted) {
    char text[1024];
    std::snprintf(
        text, sizeof text,
        "Invalid update: invalid number of sections.  The number of sections contained in the table view "
        "after the update (%d) must be equal to the number of sections contained in the table view before "
        "the update (%d), plus or minus the number of sections inserted or deleted (%d inserted, %d "
        "deleted).",
        after, before, inserted, deleted);
    return text;
}

class UITableViewInvalidUpdateTest : public TableTest, public ::testing::WithParamInterface<InvalidUpdate> {};

// The model starts as two sections of three rows each.
TEST_P(UITableViewInvalidUpdateTest, RaisesWithThePlatformsMessage) {
    show({section(std::string("A"), 3, "a"), section(std::string("B"), 3, "b")}, false);
    GetParam().change(*model);
    try {
        GetParam().update(*table);
        FAIL() << "expected NSInternalInconsistencyException";
    } catch (const NSException& e) {
        EXPECT_EQ(e.name(), NSInternalInconsistencyException);
        EXPECT_EQ(e.reason(), GetParam().message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UITableViewInvalidUpdateTest,
    ::testing::Values(
        InvalidUpdate{
            "DeleteBeforeTheModelChanged", [](ModelTableDataSource&) {},
            [](UITableView& t) {
                t.deleteRowsAtIndexPathsWithRowAnimation(paths({{0, 1}}), UITableViewRowAnimationFade);
            },
            rowsMessage(0, 3, 3, 0, 1)},
        InvalidUpdate{
            "SectionDroppedButOnlyItsRowDeleted", [](ModelTableDataSource& m) { m.sections.pop_back(); },
            [](UITableView& t) {
                t.deleteRowsAtIndexPathsWithRowAnimation(paths({{1, 0}}), UITableViewRowAnimationFade);
            },
            sectionsMessage(1, 2, 0, 0)},
        InvalidUpdate{"EmptyBatchAfterTheModelChanged",
                      [](ModelTableDataSource& m) { m.sections[1].rows.push_back("new"); },
                      [](UITableView& t) {
                          t.beginUpdates();
                          t.endUpdates();
                      },
                      rowsMessage(1, 4, 3, 0, 0)},
        InvalidUpdate{
            "DeleteRowBeyondTheSection", [](ModelTableDataSource& m) { removeRow(m, 0, 0); },
            [](UITableView& t) {
                t.deleteRowsAtIndexPathsWithRowAnimation(paths({{0, 5}}), UITableViewRowAnimationFade);
            },
            "attempt to delete row 5 from section 0 which only contains 3 rows before the update"},
        InvalidUpdate{
            "InsertRowBeyondTheSection", [](ModelTableDataSource& m) { m.sections[0].rows.push_back("x"); },
            [](UITableView& t) {
                t.insertRowsAtIndexPathsWithRowAnimation(paths({{0, 6}}), UITableViewRowAnimationFade);
            },
            "attempt to insert row 6 into section 0, but there are only 4 rows in section 0 after the "
            "update"},
        InvalidUpdate{
            "InsertRowIntoAMissingSection", [](ModelTableDataSource&) {},
            [](UITableView& t) {
                t.insertRowsAtIndexPathsWithRowAnimation(paths({{2, 0}}), UITableViewRowAnimationFade);
            },
            "attempt to insert row 0 into section 2, but there are only 2 sections after the update"},
        InvalidUpdate{
            "InsertSectionBeyondTheTable",
            [](ModelTableDataSource& m) { m.sections.push_back(section(std::string("C"), 0, "c")); },
            [](UITableView& t) {
                t.insertSectionsWithRowAnimation(NSIndexSet::indexSetWithIndex(4),
                                                 UITableViewRowAnimationFade);
            },
            "attempt to insert section 4 but there are only 3 sections after the update"},
        InvalidUpdate{"DeleteSectionBeyondTheTable", [](ModelTableDataSource& m) { m.sections.pop_back(); },
                      [](UITableView& t) {
                          t.deleteSectionsWithRowAnimation(NSIndexSet::indexSetWithIndex(7),
                                                           UITableViewRowAnimationFade);
                      },
                      "attempt to delete section 7, but there are only 2 sections before the update"},
        InvalidUpdate{"DeleteSectionJustPastTheTable", [](ModelTableDataSource& m) { m.sections.pop_back(); },
                      [](UITableView& t) {
                          t.deleteSectionsWithRowAnimation(NSIndexSet::indexSetWithIndex(2),
                                                           UITableViewRowAnimationFade);
                      },
                      "attempt to delete section 2, but there are only 2 sections before the update"},
        InvalidUpdate{"SectionDeletedWithoutTheModel", [](ModelTableDataSource&) {},
                      [](UITableView& t) {
                          t.deleteSectionsWithRowAnimation(NSIndexSet::indexSetWithIndex(1),
                                                           UITableViewRowAnimationFade);
                      },
                      sectionsMessage(2, 2, 0, 1)},
        InvalidUpdate{"RowMovedToAnotherSectionWithoutTheModel", [](ModelTableDataSource&) {},
                      [](UITableView& t) { t.moveRowAtIndexPathToIndexPath(at(0, 0), at(1, 0)); },
                      rowsMessage(0, 3, 3, 0, 0, 0, 1)},
        // A move's ends just past the table and just past a section.
        InvalidUpdate{"RowMovedFromASectionJustPastTheTable", [](ModelTableDataSource&) {},
                      [](UITableView& t) { t.moveRowAtIndexPathToIndexPath(at(2, 0), at(0, 0)); },
                      "attempt to move index path (<NSIndexPath> 2 indexes [2, 0]) that does not exist - "
                      "there are only 0 rows in section 2 before the update"},
        InvalidUpdate{"RowMovedFromJustPastTheFirstSection", [](ModelTableDataSource&) {},
                      [](UITableView& t) { t.moveRowAtIndexPathToIndexPath(at(0, 3), at(1, 0)); },
                      "attempt to move index path (<NSIndexPath> 2 indexes [0, 3]) that does not exist - "
                      "there are only 3 rows in section 0 before the update"},
        InvalidUpdate{"RowMovedFromJustPastItsSection", [](ModelTableDataSource&) {},
                      [](UITableView& t) { t.moveRowAtIndexPathToIndexPath(at(1, 3), at(0, 0)); },
                      "attempt to move index path (<NSIndexPath> 2 indexes [1, 3]) that does not exist - "
                      "there are only 3 rows in section 1 before the update"},
        InvalidUpdate{"RowMovedToASectionJustPastTheTable", [](ModelTableDataSource&) {},
                      [](UITableView& t) { t.moveRowAtIndexPathToIndexPath(at(0, 1), at(2, 0)); },
                      "attempt to move index path (<NSIndexPath> 2 indexes [0, 1]) to index path "
                      "(<NSIndexPath> 2 indexes [2, 0]) that does not exist - there are only 0 rows in "
                      "section 2 after the update"}),
    [](const ::testing::TestParamInfo<InvalidUpdate>& info) { return std::string(info.param.name); });

class UITableViewUpdatesTest : public TableTest {};

TEST_F(UITableViewUpdatesTest, NestedBatchesAskNothingAndApplyOnlyAtTheOutermostEnd) {
    show({section(std::nullopt, 4, "r")});
    int checks = checker->checks();
    auto doomed = table->cellForRowAtIndexPath(at(0, 1));
    table->beginUpdates();
    table->beginUpdates();
    removeRow(*model, 0, 1);
    table->deleteRowsAtIndexPathsWithRowAnimation(paths({{0, 1}}), UITableViewRowAnimationFade);
    table->endUpdates();
    EXPECT_TRUE(model->log.empty()) << "nothing is asked before the outermost end";
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 1)), doomed);
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    table->endUpdates();
    EXPECT_EQ(model->logged("rows:"), (std::vector<std::string>{"rows:0"}));
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"r0", "r2", "r3"}));
    EXPECT_EQ(checker->checks(), checks + 1);
}

TEST_F(UITableViewUpdatesTest, CellsFollowTheirRowsAndDeletedOnesAreQueuedAfterTheirAnimation) {
    show({section(std::nullopt, 8, "r")});
    auto first = table->cellForRowAtIndexPath(at(0, 0));
    auto doomed = table->cellForRowAtIndexPath(at(0, 1));
    table->beginUpdates();
    // Deletions name rows before the batch, insertions rows after it, whatever the call order.
    table->insertRowsAtIndexPathsWithRowAnimation(paths({{0, 0}, {0, 3}}), UITableViewRowAnimationFade);
    table->deleteRowsAtIndexPathsWithRowAnimation(paths({{0, 1}}), UITableViewRowAnimationFade);
    model->sections[0].rows = {"new0", "r0", "r2", "new3", "r3", "r4", "r5", "r6", "r7"};
    table->endUpdates();
    // The inserted rows on screen were asked for at once, without a layout call.
    EXPECT_EQ(model->logged("cell:"), (std::vector<std::string>{"cell:0.0", "cell:0.3"}));
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"new0", "r0", "r2", "new3", "r3"}));
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 1)), first);
    ASSERT_EQ(table->dyingCells().size(), 1u);
    EXPECT_EQ(table->dyingCells()[0].cell, doomed);
    // r4's cell, pushed off screen, was queued at once and handed straight back for new0.
    EXPECT_EQ(model->cellsMade, 6);
    EXPECT_EQ(table->queuedCellCount("Cell"), 0u);
    runFor(UITableView::kRowAnimationDuration);
    EXPECT_TRUE(table->dyingCells().empty());
    EXPECT_EQ(table->queuedCellCount("Cell"), 1u) << "the deleted row's cell is queued after its animation";
    EXPECT_EQ(doomed->superview(), nullptr);
}

TEST_F(UITableViewUpdatesTest, SectionsInsertedAndDeletedInOneBatch) {
    show({section(std::string("A"), 1, "a"), section(std::string("B"), 1, "b"),
          section(std::string("C"), 1, "c")});
    auto c = table->cellForRowAtIndexPath(at(2, 0));
    table->beginUpdates();
    table->deleteSectionsWithRowAnimation(NSIndexSet::indexSetWithIndex(1), UITableViewRowAnimationFade);
    table->insertSectionsWithRowAnimation(NSIndexSet::indexSetWithIndex(2), UITableViewRowAnimationFade);
    model->sections = {section(std::string("A"), 1, "a"), section(std::string("C"), 1, "c"),
                       section(std::string("D"), 0, "d")};
    table->endUpdates();
    EXPECT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(table->cellForRowAtIndexPath(at(1, 0)), c);
    EXPECT_EQ(table->lastRowAnimations().size(), 2u);
    for (const auto& animation : table->lastRowAnimations()) {
        EXPECT_DOUBLE_EQ(animation.start, now());
        EXPECT_DOUBLE_EQ(animation.end, now() + UITableView::kRowAnimationDuration)
            << "a fade takes its time";
    }
}

// A reload inside a batch takes the data source's counts as they are then: an insertion the
// reload already found is one too many at the end of the batch.
TEST_F(UITableViewUpdatesTest, AReloadInsideABatchCountsFromWhatItFound) {
    show({section(std::nullopt, 3, "r")}, false);
    table->beginUpdates();
    model->sections[0].rows.emplace_back("new");
    table->reloadData();
    table->insertRowsAtIndexPathsWithRowAnimation(paths({{0, 3}}), UITableViewRowAnimationNone);
    try {
        table->endUpdates();
        FAIL() << "expected NSInternalInconsistencyException";
    } catch (const NSException& e) {
        EXPECT_EQ(e.reason(), rowsMessage(0, 4, 4, 1, 0));
    }
}

TEST_F(UITableViewUpdatesTest, EndWithoutBeginRaises) {
    show({section(std::nullopt, 1, "r")});
    EXPECT_THROW(table->endUpdates(), NSException);
}

TEST_F(UITableViewUpdatesTest, SelectionFollowsItsRow) {
    show({section(std::nullopt, 4, "r")});
    table->selectRowAtIndexPathAnimatedScrollPosition(at(0, 2), false, UITableViewScrollPositionNone);
    removeRow(*model, 0, 0);
    table->deleteRowsAtIndexPathsWithRowAnimation(paths({{0, 0}}), UITableViewRowAnimationNone);
    ASSERT_EQ(table->lastRowAnimations().size(), 1u);
    EXPECT_DOUBLE_EQ(table->lastRowAnimations()[0].end, now()) << "no animation ends at once";
    EXPECT_TRUE(table->dyingCells().empty()) << "a row deleted without animation leaves at once";
    EXPECT_TRUE(sameIndexPath(table->indexPathForSelectedRow(), at(0, 1)));
    EXPECT_TRUE(table->cellForRowAtIndexPath(at(0, 1))->isSelected());
}

// In one batch each row leaves with the animation given for it or for its own section: a row
// deleted without animation goes at once though another section fades out before it is named.
TEST_F(UITableViewUpdatesTest, EachRowLeavesWithItsOwnAnimation) {
    show({section(std::string("A"), 3, "a"), section(std::string("B"), 2, "b")});
    auto a0 = table->cellForRowAtIndexPath(at(0, 0));
    auto b0 = table->cellForRowAtIndexPath(at(1, 0));
    ASSERT_NE(b0, nullptr);
    table->beginUpdates();
    table->deleteSectionsWithRowAnimation(NSIndexSet::indexSetWithIndex(1), UITableViewRowAnimationFade);
    table->deleteRowsAtIndexPathsWithRowAnimation(paths({{0, 0}}), UITableViewRowAnimationNone);
    model->sections = {section(std::string("A"), 0, "a")};
    model->sections[0].rows = {"a1", "a2"};
    table->endUpdates();
    ASSERT_EQ(table->dyingCells().size(), 1u);
    EXPECT_EQ(table->dyingCells()[0].cell, b0);
    EXPECT_EQ(table->dyingCells()[0].animation, UITableViewRowAnimationFade);
    EXPECT_NE(a0->superview().get(), table.get()) << "the row deleted without animation left at once";
}

} // namespace
