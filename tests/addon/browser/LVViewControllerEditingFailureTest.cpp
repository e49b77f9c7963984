// Deletes, moves and adds when the file was removed or damaged from outside, or when the write
// fails: nothing faults, nothing is written, and the table ends showing what the file holds.

#include "addon/store/SavedTimesStore.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"
#include "tests/addon/browser/EditingFixture.h"
#include "tests/support/FailingWrites.h"

#include <filesystem>
#include <ostream>

namespace {

using testing_support::Counts;
using testing_support::EditingTest;
using testing_support::FailingWrites;
using testing_support::Totals;

enum class Damage { FileRemoved, FileUnreadable, WriteFails };
enum class Edit { Delete, DeleteEmptyingASection, Move, MoveEmptyingASection, Add };

struct FailureCase {
    Damage damage;
    Edit edit;
};

std::string caseName(const FailureCase& c) {
    static const char* const damages[] = {"FileRemoved", "FileUnreadable", "WriteFails"};
    static const char* const edits[] = {"Delete", "DeleteEmptyingASection", "Move", "MoveEmptyingASection",
                                        "Add"};
    return std::string(damages[static_cast<int>(c.damage)]) + "_" + edits[static_cast<int>(c.edit)];
}

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << caseName(c);
}

class EditOfAFileThatCannotChange : public EditingTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(EditOfAFileThatCannotChange, WritesNothingAndShowsTheFile) {
    const FailureCase& c = GetParam();
    showFile({{"Default", 2}, {"Work", 1}});
    tapEditButton();
    const std::string path = preferencesFile(lv::kSavedTimesFileName);
    std::string bytes = testing_support::readWholeFile(path);
    if (c.damage == Damage::FileRemoved) {
        std::filesystem::remove(path);
    } else if (c.damage == Damage::FileUnreadable) {
        bytes = "<plist><dict><key>Sections";
        writeSavedTimesBytes(bytes);
    }

    std::shared_ptr<UIAlertView> dialog;
    if (c.edit == Edit::Add) {
        dialog = openNewSectionDialog();
        ASSERT_TRUE(dialog->textFieldAtIndex(0)->simulateTyping("New"));
    }
    {
        std::optional<FailingWrites> failing;
        if (c.damage == Damage::WriteFails) {
            failing.emplace();
        }
        switch (c.edit) {
        case Edit::Delete:
            deleteRow(0, 1);
            break;
        case Edit::DeleteEmptyingASection:
            deleteRow(1, 0);
            break;
        case Edit::Move:
            dragRow(0, 0, 1, 1);
            break;
        case Edit::MoveEmptyingASection:
            dragRow(1, 0, 0, 0);
            break;
        case Edit::Add:
            ASSERT_TRUE(dialog->simulateTapButtonWithTitle("Add"));
            break;
        }
    }
    runFor(1);

    EXPECT_EQ(std::filesystem::exists(path), c.damage != Damage::FileRemoved) << "the edit never creates it";
    if (c.damage != Damage::FileRemoved) {
        EXPECT_EQ(testing_support::readWholeFile(path), bytes);
    }
    // The table shows what the file holds: nothing when it cannot be read, the records as they
    // were when the write failed.
    const Counts expected = c.damage == Damage::WriteFails ? Counts{2, 1} : Counts{};
    EXPECT_EQ(rowCounts(), expected);
    EXPECT_EQ(listCounts(), expected);
    if (c.damage == Damage::WriteFails) {
        EXPECT_EQ(fileTotals(), (Totals{{1, 2}, {11}}));
    }
    EXPECT_TRUE(alerts().empty());
}

std::vector<FailureCase> allCases() {
    std::vector<FailureCase> cases;
    for (Damage damage : {Damage::FileRemoved, Damage::FileUnreadable, Damage::WriteFails}) {
        for (Edit edit : {Edit::Delete, Edit::DeleteEmptyingASection, Edit::Move, Edit::MoveEmptyingASection,
                          Edit::Add}) {
            cases.push_back({damage, edit});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, EditOfAFileThatCannotChange, testing::ValuesIn(allCases()),
                         [](const auto& info) { return caseName(info.param); });

TEST_F(EditingTest, AFailedDropLeavesTheEmptiedSectionShownAndNoBatchOpen) {
    showFile({{"Default", 1}, {"Work", 1}});
    // The record's own write goes through; the drop that follows it fails.
    std::optional<FailingWrites> failing;
    auto table = browser->savedTable();
    const auto token =
        table->addChangeObserver([&failing](UITableView&, UITableView::Change) { failing.emplace(); });
    deleteRow(0, 0);
    failing.reset();
    table->removeChangeObserver(token);
    EXPECT_EQ(fileSections(), (testing_support::Names{"Default", "Work"}));
    EXPECT_EQ(fileTotals(), (Totals{{}, {11}}));
    EXPECT_FALSE(table->isInBatch());
    EXPECT_TRUE(pendingMessages().empty());
    runFor(1);
    EXPECT_EQ(rowCounts(), (Counts{0, 1}));
    EXPECT_EQ(listCounts(), (Counts{0, 1}));
}

TEST_F(EditingTest, ASectionListChangedFromOutsideIsShownRatherThanAnimatedAgainst) {
    showFile({{"Default", 2}, {"Work", 1}});
    tapEditButton();
    // Another program adds a section behind the browser's back.
    writeSavedTimes(
        "<key>Sections</key><array><string>Default</string><string>Work</string><string>Gym</string>"
        "</array><key>Times - Default</key><array><dict/><dict/></array><key>Times - Work</key>"
        "<array><dict/></array><key>Times - Gym</key><array><dict/></array>");
    // Its records of Default are not the ones shown: the delete writes nothing and the table
    // shows the file.
    deleteRow(0, 0);
    runFor(1);
    EXPECT_EQ(rowCounts(), (Counts{2, 1, 1}));
    EXPECT_EQ(fileSections(), (testing_support::Names{"Default", "Work", "Gym"}));
    // Now shown as the file holds it, Gym's record moves and its emptied section goes.
    dragRow(2, 0, 1, 0);
    runFor(1);
    EXPECT_EQ(rowCounts(), (Counts{2, 2}));
}

} // namespace
