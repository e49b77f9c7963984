// Editing mode, swipe to delete, moving rows and selection of UITableView.

#include "tests/platform/uikit/UITableViewTestSupport.h"

#include "platform/foundation/NSRunLoop.h"
#include "platform/uikit/UIColor.h"

namespace {

using namespace table_tests;

/// The editing tests' model: swipe to delete, editable rows, the editing and selection messages,
/// plus `More`.
template <auto... More>
using EditingModel = ModelTableWith<DS::CommitEditingStyle, DS::CanEditRow, DM::WillBeginEditingRow,
                                    DM::DidEndEditingRow, DM::WillSelectRow, DM::DidDeselectRow, More...>;

class UITableViewEditingTest : public TableTest {
  protected:
    /// The log without the count, title and height questions.
    std::vector<std::string> events() const {
        std::vector<std::string> out;
        for (const auto& entry : model->log) {
            if (entry != "sections" && entry.rfind("rows:", 0) != 0 && entry.rfind("title:", 0) != 0 &&
                entry.rfind("height:", 0) != 0) {
                out.push_back(entry);
            }
        }
        return out;
    }

    void SetUp() override { model = std::make_shared<EditingModel<>>(); }
};

TEST_F(UITableViewEditingTest, TheReorderControlNeedsTheDataSourcesMove) {
    show({section(std::nullopt, 3, "r")});
    table->setEditingAnimated(true, true);
    for (const auto& cell : table->visibleCells()) {
        EXPECT_TRUE(cell->isEditing());
        EXPECT_EQ(cell->editingStyle(), UITableViewCellEditingStyleDelete);
        EXPECT_FALSE(cell->showsReorderControl()) << "no move method, no grabber";
    }
    table->setEditingAnimated(false, false);
    // The same rows from a data source that implements the move.
    model = std::make_shared<EditingModel<DS::MoveRow, DS::CanMoveRow>>();
    model->notMovable = {{0, 1}};
    model->notEditable = {{0, 2}};
    show({section(std::nullopt, 3, "r")});
    table->setEditingAnimated(true, false);
    EXPECT_TRUE(table->cellForRowAtIndexPath(at(0, 0))->showsReorderControl());
    EXPECT_FALSE(table->cellForRowAtIndexPath(at(0, 1))->showsReorderControl());
    auto locked = table->cellForRowAtIndexPath(at(0, 2));
    EXPECT_EQ(locked->editingStyle(), UITableViewCellEditingStyleNone);
    EXPECT_FALSE(locked->showsReorderControl());
    EXPECT_FALSE(table->simulateDrag(at(0, 1), at(0, 0)));
}

// Entering and leaving editing mode: the controls move over the row animations' time from the
// moment of the call when animated, and change at once otherwise.
TEST_F(UITableViewEditingTest, EditingModeChangesOverTimeOnlyWhenAnimated) {
    show({section(std::nullopt, 2, "r")});
    for (const bool editing : {true, false}) {
        for (const bool animated : {true, false}) {
            const NSTimeInterval now = NSRunLoop::currentRunLoop().now();
            table->setEditingAnimated(editing, animated);
            const auto& transition = table->lastEditingTransition();
            EXPECT_EQ(transition.editing, editing);
            EXPECT_DOUBLE_EQ(transition.start, now);
            EXPECT_DOUBLE_EQ(transition.end, animated ? now + UITableView::kRowAnimationDuration : now)
                << "editing " << editing << ", animated " << animated;
        }
    }
}

TEST_F(UITableViewEditingTest, SwipeDeleteSendsWillBeginCommitAndDidEndInOrder) {
    show({section(std::nullopt, 3, "r")});
    EXPECT_TRUE(table->simulateSwipeOnRow(at(0, 1)));
    EXPECT_TRUE(table->isEditing()) << "the table is editing while the Delete button shows";
    EXPECT_TRUE(table->cellForRowAtIndexPath(at(0, 1))->showingDeleteConfirmation());
    EXPECT_FALSE(table->cellForRowAtIndexPath(at(0, 0))->showsReorderControl());
    EXPECT_TRUE(table->simulateTapDeleteConfirmation());
    EXPECT_EQ(events(), (std::vector<std::string>{"canEdit:0.1", "willBeginEditing:0.1:not-editing",
                                                  "commit:1:0.1", "didEndEditing:0.1:not-editing"}));
    EXPECT_FALSE(table->isEditing());
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"r0", "r2"}));
}

// A data source gone while its Delete button shows: the tap ends the swipe and tells no one.
TEST_F(UITableViewEditingTest, TheDeleteButtonOfAGoneDataSourceOnlyEndsTheSwipe) {
    auto gone = std::make_shared<EditingModel<>>();
    gone->sections = {section(std::nullopt, 3, "r")};
    table->setDataSource(gone);
    table->setDelegate(gone);
    table->reloadData();
    table->layoutIfNeeded();
    ASSERT_TRUE(table->simulateSwipeOnRow(at(0, 1)));
    gone.reset();
    EXPECT_TRUE(table->simulateTapDeleteConfirmation());
    EXPECT_EQ(table->swipedRow(), nullptr);
}

// Only a row whose style is Delete can be swiped; a plus commits an insertion at once, and a row
// without a style has no control to tap.
TEST_F(UITableViewEditingTest, EachEditingStyleHasItsOwnGesture) {
    model = std::make_shared<EditingModel<DM::EditingStyleForRow>>();
    model->editingStyles = {{{0, 1}, UITableViewCellEditingStyleInsert},
                            {{0, 2}, UITableViewCellEditingStyleNone}};
    show({section(std::nullopt, 3, "r")});
    EXPECT_FALSE(table->simulateSwipeOnRow(at(0, 1)));
    EXPECT_FALSE(table->simulateSwipeOnRow(at(0, 2)));
    EXPECT_EQ(table->swipedRow(), nullptr);
    EXPECT_TRUE(table->simulateSwipeOnRow(at(0, 0)));
    EXPECT_TRUE(table->simulateTapOutside());
    table->setEditing(true);
    EXPECT_TRUE(table->simulateTapEditingControl(at(0, 1)));
    EXPECT_EQ(model->logged("commit"), std::vector<std::string>{"commit:2:0.1"});
    EXPECT_EQ(table->deleteConfirmationRow(), nullptr) << "a plus asks for no confirmation";
    EXPECT_FALSE(table->simulateTapEditingControl(at(0, 2)));

    // A plus whose data source is gone does nothing more than answer.
    auto gone = std::make_shared<EditingModel<DM::EditingStyleForRow>>();
    gone->sections = {section(std::nullopt, 3, "r")};
    gone->editingStyles = {{{0, 1}, UITableViewCellEditingStyleInsert}};
    table->setDataSource(gone);
    table->setDelegate(gone);
    table->reloadData();
    table->layoutIfNeeded();
    gone.reset();
    EXPECT_TRUE(table->simulateTapEditingControl(at(0, 1)));
}

TEST_F(UITableViewEditingTest, TappingOutsideEndsTheSwipeWithoutACommit) {
    show({section(std::nullopt, 3, "r")});
    table->simulateSwipeOnRow(at(0, 0));
    EXPECT_TRUE(table->simulateTapOnRow(at(0, 2))) << "the tap only puts the button away";
    EXPECT_EQ(model->logged("commit"), std::vector<std::string>{});
    EXPECT_EQ(model->logged("didSelect"), std::vector<std::string>{});
    EXPECT_EQ(model->logged("didEndEditing"), (std::vector<std::string>{"didEndEditing:0.0:not-editing"}));
    EXPECT_FALSE(table->cellForRowAtIndexPath(at(0, 0))->showingDeleteConfirmation());
}

TEST_F(UITableViewEditingTest, NoSwipeWithoutCommitInEditingModeOrOnALockedRow) {
    model->notEditable = {{0, 2}};
    show({section(std::nullopt, 3, "r")});
    EXPECT_FALSE(table->simulateSwipeOnRow(at(0, 2)));
    table->setEditing(true);
    EXPECT_FALSE(table->simulateSwipeOnRow(at(0, 0)));
    table->setEditing(false);
    EXPECT_EQ(model->logged("willBeginEditing"), std::vector<std::string>{});
    // The same rows from a data source without the commit.
    model = std::make_shared<ModelTableWith<DS::CanEditRow, DM::WillBeginEditingRow, DM::DidEndEditingRow>>();
    show({section(std::nullopt, 3, "r")});
    EXPECT_FALSE(table->simulateSwipeOnRow(at(0, 0)));
    EXPECT_EQ(model->logged("willBeginEditing"), std::vector<std::string>{});
}

TEST_F(UITableViewEditingTest, TheMinusShowsAConfirmationThatCommits) {
    show({section(std::nullopt, 3, "r")});
    table->setEditing(true);
    EXPECT_TRUE(table->simulateTapEditingControl(at(0, 2)));
    EXPECT_TRUE(sameIndexPath(table->deleteConfirmationRow(), at(0, 2)));
    EXPECT_TRUE(table->simulateTapDeleteConfirmation());
    EXPECT_EQ(model->logged("commit"), (std::vector<std::string>{"commit:1:0.2"}));
    EXPECT_TRUE(table->isEditing());
    EXPECT_EQ(shownTexts(), (std::vector<std::string>{"r0", "r1"}));
}

// The minus is tapped only where there is one: in editing mode, on a row laid out on screen whose
// style is Delete. Every other tap answers false and shows no confirmation.
TEST_F(UITableViewEditingTest, TheMinusAnswersOnlyWhereItIsShown) {
    model->notEditable = {{0, 0}};
    show({section(std::nullopt, 8, "r")});
    EXPECT_FALSE(table->simulateTapEditingControl(at(0, 1))) << "not editing";
    table->setEditing(true);
    EXPECT_FALSE(table->simulateTapEditingControl(at(0, 0))) << "a row that cannot be edited";
    EXPECT_FALSE(table->simulateTapEditingControl(at(0, 7))) << "a row below the screen";
    EXPECT_FALSE(table->simulateTapEditingControl(at(0, 8))) << "a row past the section";
    EXPECT_FALSE(table->simulateTapEditingControl(at(1, 0))) << "a section past the table";
    EXPECT_EQ(table->deleteConfirmationRow(), nullptr);
    table->scrollToRowAtIndexPathAtScrollPositionAnimated(at(0, 7), UITableViewScrollPositionBottom, false);
    table->layoutIfNeeded();
    EXPECT_TRUE(table->simulateTapEditingControl(at(0, 7))) << "the same row scrolled into view";
    EXPECT_TRUE(sameIndexPath(table->deleteConfirmationRow(), at(0, 7)));
    // Another minus moves the confirmation: only one row shows it.
    EXPECT_TRUE(table->simulateTapEditingControl(at(0, 6)));
    EXPECT_TRUE(sameIndexPath(table->deleteConfirmationRow(), at(0, 6)));
    auto confirming = table->cellForRowAtIndexPath(at(0, 6));
    EXPECT_TRUE(confirming->showingDeleteConfirmation());
    EXPECT_FALSE(table->cellForRowAtIndexPath(at(0, 7))->showingDeleteConfirmation());
    // The button goes at a tap beside it, when editing is set or ends, and when its row leaves the screen.
    EXPECT_TRUE(table->simulateTapOutside());
    EXPECT_EQ(table->deleteConfirmationRow(), nullptr);
    EXPECT_FALSE(confirming->showingDeleteConfirmation());
    EXPECT_FALSE(table->simulateTapOutside()) << "nothing left to hide";
    EXPECT_TRUE(table->simulateTapEditingControl(at(0, 6)));
    table->setEditing(true);
    EXPECT_FALSE(confirming->showingDeleteConfirmation()) << "editing set again hides it too";
    EXPECT_EQ(table->deleteConfirmationRow(), nullptr);
    EXPECT_TRUE(table->simulateTapEditingControl(at(0, 6)));
    table->setEditing(false);
    EXPECT_FALSE(confirming->showingDeleteConfirmation());
    EXPECT_EQ(table->deleteConfirmationRow(), nullptr);
    table->setEditing(true);
    // Rows 3 to 7 are on screen; one row further down, only row 3 leaves.
    EXPECT_TRUE(table->simulateTapEditingControl(at(0, 3)));
    table->setContentOffset(CGPointMake(0, 4 * 44));
    table->layoutIfNeeded();
    EXPECT_EQ(table->deleteConfirmationRow(), nullptr);
}

// A cell that comes on screen later takes the table's editing mode: a fresh cell for an inserted
// row while editing, and a queued cell that left editing off screen when it is reused after.
// (The checker compares every cell on screen with the table after each change.)
TEST_F(UITableViewEditingTest, CellsShownLaterFollowTheTablesEditing) {
    show({section(std::nullopt, 3, "r")});
    table->setEditing(true);
    model->sections[0].rows = {"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7"};
    table->insertRowsAtIndexPathsWithRowAnimation({at(0, 3), at(0, 4), at(0, 5), at(0, 6), at(0, 7)},
                                                  UITableViewRowAnimationNone);
    table->layoutIfNeeded();
    EXPECT_TRUE(table->cellForRowAtIndexPath(at(0, 4))->isEditing());
    table->setContentOffset(CGPointMake(0, 3 * 44));
    table->layoutIfNeeded();
    table->setEditing(false);
    table->setContentOffset(CGPointMake(0, 0));
    table->layoutIfNeeded();
    for (const auto& cell : table->visibleCells()) {
        EXPECT_FALSE(cell->isEditing()) << cell->textLabel()->text().value_or("");
    }
    EXPECT_EQ(checker->check(), "");
}

// Only a row with a grabber can be held, whether or not another row is held already; the held
// row itself moves on.
TEST_F(UITableViewEditingTest, OnlyARowWithAGrabberCanBeHeld) {
    model = std::make_shared<EditingModel<DS::MoveRow, DS::CanMoveRow>>();
    model->notMovable = {{0, 1}};
    show({section(std::nullopt, 3, "r")});
    table->setEditing(true);
    EXPECT_FALSE(table->simulateReorderHover(at(0, 1), at(0, 0), 0)) << "nothing held yet";
    EXPECT_EQ(table->reorderingRow(), nullptr);
    EXPECT_TRUE(table->simulateReorderHover(at(0, 0), at(0, 2), 60));
    EXPECT_FALSE(table->simulateReorderHover(at(0, 1), at(0, 0), 0)) << "another row is held";
    EXPECT_TRUE(sameIndexPath(table->reorderingRow(), at(0, 0)));
    EXPECT_TRUE(table->simulateReorderHover(at(0, 0), at(0, 1), 30));
    table->simulateReorderCancel();
    EXPECT_EQ(table->reorderingRow(), nullptr);
    // A drop just past the table, or past the last row of its own section, moves nothing.
    EXPECT_FALSE(table->simulateDrag(at(0, 0), at(1, 0)));
    EXPECT_FALSE(table->simulateDrag(at(0, 0), at(0, 3)));
    EXPECT_EQ(model->logged("move"), std::vector<std::string>{});
}

TEST_F(UITableViewEditingTest, ADropMovesTheRowOnScreenBeforeTheDataSourceHearsOfIt) {
    model = std::make_shared<EditingModel<DS::MoveRow>>();
    show({section(std::string("A"), 2, "a"), section(std::string("B"), 1, "b")});
    table->setEditing(true);
    auto moving = table->cellForRowAtIndexPath(at(0, 0));
    model->log.clear();
    model->onMove = [&](const std::shared_ptr<NSIndexPath>& from, const std::shared_ptr<NSIndexPath>& to) {
        EXPECT_EQ(table->numberOfRowsInSection(0), 1);
        EXPECT_EQ(table->numberOfRowsInSection(1), 2);
        EXPECT_EQ(table->cellForRowAtIndexPath(to), moving);
        auto& source = model->sections[0].rows;
        std::string item = source[static_cast<std::size_t>(from->row())];
        source.erase(source.begin());
        model->sections[1].rows.insert(model->sections[1].rows.begin() + to->row(), item);
    };
    int checks = checker->checks();
    EXPECT_TRUE(table->simulateDrag(at(0, 0), at(1, 1)));
    EXPECT_EQ(model->log, (std::vector<std::string>{"move:0.0->1.1"})) << "nothing is asked again";
    EXPECT_EQ(checker->checks(), checks + 1);
}

TEST_F(UITableViewEditingTest, AHeldRowOpensItsGapAcrossSectionsAndAsksNothingUntilTheDrop) {
    model = std::make_shared<EditingModel<DS::MoveRow>>();
    show({section(std::string("A"), 2, "a"), section(std::string("B"), 1, "b")}, false);
    table->setEditing(true);
    auto frameOf = [this](int s, int r) { return table->cellForRowAtIndexPath(at(s, r))->frame().origin.y; };
    auto headerOf = [this](int s) {
        for (const auto& header : table->visibleHeaders()) {
            if (header.section == s) {
                return header.frame.origin.y;
            }
        }
        return CGFloat(-1);
    };
    // A: header 0, rows 22 and 66; B: header 110, row 132.
    ASSERT_EQ(frameOf(1, 0), 132);
    model->log.clear();
    // Held by A's first row and carried to the end of B: what lies between moves up into its
    // room, and the gap opens at the end of B.
    EXPECT_TRUE(table->simulateReorderHover(at(0, 0), at(1, 1), 150));
    table->layoutIfNeeded();
    EXPECT_EQ(frameOf(0, 0), 150);
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 0))->alpha(), UITableView::kLiftedRowAlpha);
    EXPECT_EQ(frameOf(0, 1), 22);
    EXPECT_EQ(headerOf(1), 66);
    EXPECT_EQ(frameOf(1, 0), 88);
    EXPECT_EQ(events(), std::vector<std::string>{}) << "nothing is asked or told while it is held";
    // Back over A's second row, moving down within A: only that row moves.
    EXPECT_TRUE(table->simulateReorderHover(at(0, 0), at(0, 1), 40));
    table->layoutIfNeeded();
    EXPECT_EQ(frameOf(0, 1), 22);
    EXPECT_EQ(headerOf(1), 110);
    EXPECT_EQ(frameOf(1, 0), 132);
    // B's row held and carried up to A's top: everything from there down to it moves down.
    EXPECT_TRUE(table->simulateReorderHover(at(1, 0), at(0, 0), 0));
    table->layoutIfNeeded();
    EXPECT_EQ(frameOf(0, 0), 66);
    EXPECT_EQ(frameOf(0, 1), 110);
    EXPECT_EQ(headerOf(1), 154);
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 0))->alpha(), 1) << "the row held before is let go";
    table->simulateReorderCancel();
    table->layoutIfNeeded();
    EXPECT_EQ(frameOf(0, 0), 22);
    EXPECT_EQ(frameOf(1, 0), 132);
    EXPECT_EQ(table->cellForRowAtIndexPath(at(1, 0))->alpha(), 1);
    EXPECT_EQ(table->reorderingRow(), nullptr);
    EXPECT_FALSE(table->simulateReorderHover(at(0, 0), at(2, 0), 0)) << "the section just past the last";
    EXPECT_FALSE(table->simulateReorderHover(at(0, 0), at(5, 0), 0)) << "no such section";
    table->setEditing(false);
    EXPECT_FALSE(table->simulateReorderHover(at(0, 0), at(0, 1), 0)) << "only in edit mode";
}

TEST_F(UITableViewEditingTest, AModelThatIgnoresAMoveFailsAtTheNextBatch) {
    model = std::make_shared<EditingModel<DS::MoveRow>>();
    model->onMove = [](const std::shared_ptr<NSIndexPath>&, const std::shared_ptr<NSIndexPath>&) {};
    show({section(std::string("A"), 2, "a"), section(std::string("B"), 1, "b")}, false);
    table->setEditing(true);
    ASSERT_TRUE(table->simulateDrag(at(0, 0), at(1, 0)));
    table->beginUpdates();
    try {
        table->endUpdates();
        FAIL() << "expected NSInternalInconsistencyException";
    } catch (const NSException& e) {
        EXPECT_NE(e.reason().find(
                      "invalid number of rows in section 0.  The number of rows contained in an existing "
                      "section after the update (2) must be equal to the number of rows contained in "
                      "that section before the update (1)"),
                  std::string::npos)
            << e.reason();
    }
}

TEST_F(UITableViewEditingTest, ATapSelectsAfterHighlightingAndReportsAfterwards) {
    show({section(std::nullopt, 3, "r")});
    auto cell = table->cellForRowAtIndexPath(at(0, 1));
    cell->textLabel()->setHighlightedTextColor(UIColor::whiteColor());
    EXPECT_TRUE(table->simulateTapOnRow(at(0, 1)));
    EXPECT_EQ(model->log, (std::vector<std::string>{"willSelect:0.1", "didSelect:0.1"}));
    EXPECT_TRUE(cell->isSelected());
    EXPECT_TRUE(cell->textLabel()->isHighlighted()) << "the selected cell highlights its labels";
    model->log.clear();
    table->simulateTapOnRow(at(0, 2));
    EXPECT_EQ(model->log, (std::vector<std::string>{"willSelect:0.2", "didDeselect:0.1", "didSelect:0.2"}));
    EXPECT_FALSE(cell->isSelected());
    model->log.clear();
    table->deselectRowAtIndexPathAnimated(at(0, 2), true);
    table->selectRowAtIndexPathAnimatedScrollPosition(at(0, 0), false, UITableViewScrollPositionNone);
    EXPECT_TRUE(model->log.empty()) << "programmatic selection tells the delegate nothing";
    EXPECT_TRUE(sameIndexPath(table->indexPathForSelectedRow(), at(0, 0)));
}

TEST_F(UITableViewEditingTest, TapsSelectNothingWhenSelectionIsOffOrWhileEditing) {
    show({section(std::nullopt, 3, "r")});
    table->setAllowsSelection(false);
    EXPECT_TRUE(table->simulateTapOnRow(at(0, 0)));
    table->setAllowsSelection(true);
    table->setEditing(true);
    EXPECT_TRUE(table->simulateTapOnRow(at(0, 0)));
    EXPECT_EQ(model->logged("didSelect"), std::vector<std::string>{});
    EXPECT_EQ(table->indexPathForSelectedRow(), nullptr);
    table->setAllowsSelectionDuringEditing(true);
    table->simulateTapOnRow(at(0, 0));
    EXPECT_EQ(model->logged("didSelect"), (std::vector<std::string>{"didSelect:0.0"}));
}

TEST_F(UITableViewEditingTest, WillSelectMayRefuse) {
    show({section(std::nullopt, 3, "r")});
    model->willSelectAnswer = std::shared_ptr<NSIndexPath>();
    table->simulateTapOnRow(at(0, 1));
    EXPECT_EQ(model->logged("didSelect"), std::vector<std::string>{});
    EXPECT_FALSE(table->cellForRowAtIndexPath(at(0, 1))->isHighlighted());
    EXPECT_FALSE(table->simulateTapOnRow(at(0, 9))) << "no row there on screen";
}

// Every delegate message is optional, the delegate itself too: a table with only a data source
// still selects on a tap, shows and commits a Delete button, and ends an animated scroll. A
// Delete button tapped when none shows is not a tap on it.
TEST_F(UITableViewEditingTest, WithoutADelegateEveryGestureStillWorks) {
    show({section(std::nullopt, 12, "r")});
    table->setDelegate({});
    EXPECT_FALSE(table->simulateTapDeleteConfirmation()) << "no Delete button shows yet";
    EXPECT_TRUE(table->simulateTapOnRow(at(0, 1)));
    EXPECT_TRUE(sameIndexPath(table->indexPathForSelectedRow(), at(0, 1)));
    EXPECT_TRUE(table->simulateSwipeOnRow(at(0, 2)));
    EXPECT_TRUE(table->cellForRowAtIndexPath(at(0, 2))->showingDeleteConfirmation());
    EXPECT_TRUE(table->simulateTapDeleteConfirmation());
    EXPECT_EQ(model->logged("commit"), (std::vector<std::string>{"commit:1:0.2"}));
    EXPECT_FALSE(table->simulateTapDeleteConfirmation()) << "the button went with its row";
    EXPECT_EQ(model->logged("commit").size(), 1u);
    table->setContentOffsetAnimated({0, 100}, true);
    runFor(1);
    EXPECT_EQ(table->contentOffset(), CGPointMake(0, 100));
}

// A delegate that keeps the first row from indenting while editing.
class FirstRowUnindented final : public AdoptsUITableViewDelegate<FirstRowUnindented> {
  public:
    bool tableViewShouldIndentWhileEditingRowAtIndexPath(TableRef, PathRef path) override {
        return path->row() != 0;
    }
};

// Whether a row indents while editing is the delegate's answer, where it gives one.
TEST_F(UITableViewEditingTest, TheDelegateSaysWhichRowsIndentWhileEditing) {
    show({section(std::nullopt, 3, "r")});
    auto unindented = std::make_shared<FirstRowUnindented>();
    table->setDelegate(unindented);
    table->setEditing(true);
    table->layoutIfNeeded();
    EXPECT_FALSE(table->cellForRowAtIndexPath(at(0, 0))->shouldIndentWhileEditing());
    EXPECT_TRUE(table->cellForRowAtIndexPath(at(0, 1))->shouldIndentWhileEditing());
}

// Rows scrolled off screen by the program take nothing from a Delete button on another row, which
// still goes when its swipe ends.
TEST_F(UITableViewEditingTest, ADeleteButtonStaysWhileOtherRowsLeaveTheScreen) {
    show({section(std::nullopt, 12, "r")});
    ASSERT_TRUE(table->simulateSwipeOnRow(at(0, 2)));
    table->setContentOffset({0, 50});
    table->layoutIfNeeded();
    EXPECT_EQ(table->cellForRowAtIndexPath(at(0, 0)), nullptr) << "row 0 left the screen";
    EXPECT_TRUE(sameIndexPath(table->swipedRow(), at(0, 2)));
    auto swiped = table->cellForRowAtIndexPath(at(0, 2));
    EXPECT_TRUE(swiped->showingDeleteConfirmation());
    EXPECT_TRUE(table->simulateTapOutside());
    EXPECT_FALSE(swiped->showingDeleteConfirmation()) << "the button still goes when the swipe ends";
}

} // namespace
