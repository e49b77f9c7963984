// The new section dialog: its alert, the names it refuses and how, and what an accepted name does
// to the file, the in-memory list and the table (checked against the browser after every change).

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSDate.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"
#include "tests/addon/browser/EditingFixture.h"

#include <filesystem>
#include <ostream>

namespace {

using testing_support::Counts;
using testing_support::EditingTest;
using testing_support::Names;
using testing_support::SectionSpec;
using testing_support::Totals;
using Kind = UITableView::RowAnimation::Kind;

std::vector<Kind> lastChanges(const UITableView& table) {
    std::vector<Kind> kinds;
    for (const auto& change : table.lastRowAnimations()) {
        kinds.push_back(change.kind);
    }
    return kinds;
}

TEST_F(EditingTest, AddOpensThePlainTextDialogWithTheBrowserAsDelegate) {
    showFile({{"Default", 1}});
    tapEditButton();
    std::weak_ptr<UIAlertView> opened;
    {
        auto dialog = openNewSectionDialog();
        ASSERT_TRUE(dialog);
        opened = dialog;
        EXPECT_EQ(dialog->title(), "New Section");
        EXPECT_FALSE(dialog->message());
        EXPECT_EQ(dialog->delegate(), std::static_pointer_cast<UIAlertViewDelegate>(browser));
        EXPECT_EQ(dialog->alertViewStyle(), UIAlertViewStylePlainTextInput);
        ASSERT_EQ(dialog->numberOfButtons(), 2);
        EXPECT_EQ(dialog->buttonTitleAtIndex(dialog->cancelButtonIndex()), "Dismiss");
        EXPECT_EQ(dialog->buttonTitleAtIndex(1), "Add");
        auto field = dialog->textFieldAtIndex(0);
        EXPECT_EQ(field->placeholder(), "Section Name");
        EXPECT_EQ(field->text(), "");
        EXPECT_EQ(field->delegate(), std::static_pointer_cast<UITextFieldDelegate>(browser));

        const std::string before = testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName));
        ASSERT_TRUE(dialog->textFieldAtIndex(0)->simulateTyping("Ignored"));
        ASSERT_TRUE(dialog->simulateTapButtonWithTitle("Dismiss"));
        runFor(1);
        EXPECT_EQ(testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName)), before);
    }
    // Only the alert overlay held the dialog.
    EXPECT_TRUE(opened.expired());
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(browser->savedTable()->isEditing()) << "the dialog leaves edit mode on";
}

// ---- Accepted names --------------------------------------------------------------------------

struct AddCase {
    const char* name;
    SectionSpec sections;
    std::string typed;
    Names sectionsInFile;
    Names keysGone;
    /// The table's rows once the dialog is gone, and the kinds of its last batch.
    Counts rows;
    std::vector<Kind> lastBatch;
};

void PrintTo(const AddCase& c, std::ostream* out) {
    *out << c.name;
}

class AddingASection : public EditingTest, public testing::WithParamInterface<AddCase> {};

TEST_P(AddingASection, AppendsItAndDropsEveryOtherEmptySection) {
    const AddCase& c = GetParam();
    showFile(c.sections);
    tapEditButton();
    addSection(c.typed);

    EXPECT_EQ(fileSections(), c.sectionsInFile);
    for (const auto& gone : c.keysGone) {
        EXPECT_FALSE(fileHasKey(gone)) << gone;
    }
    ASSERT_TRUE(fileHasKey(c.typed));
    EXPECT_TRUE(fileTotals().back().empty()) << "the new section is last and empty";
    EXPECT_TRUE(savedTimes()->objectForKey("Foreign"));
    EXPECT_EQ(rowCounts(), c.rows);
    EXPECT_EQ(listCounts(), c.rows);
    EXPECT_EQ(lastChanges(*browser->savedTable()), c.lastBatch);
    EXPECT_TRUE(alerts().empty()) << "an accepted name opens nothing more";
    EXPECT_TRUE(browser->savedTable()->isEditing());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddingASection,
    testing::Values(
        AddCase{"OnlyAnEmptyDefault",
                {{"Default", 0}},
                "Track",
                {"Track"},
                {"Default"},
                {0},
                {Kind::DeleteSection}},
        AddCase{"DefaultWithRecordsThenAnEmptySection",
                {{"Default", 2}, {"E", 0}},
                "W",
                {"Default", "W"},
                {"E"},
                {2, 0},
                {Kind::DeleteSection}},
        AddCase{"DefaultWithRecordsOnlyWritesOnce",
                {{"Default", 2}},
                "W",
                {"Default", "W"},
                {},
                {2, 0},
                {Kind::InsertSection}},
        AddCase{"ANameDifferingOnlyInCase",
                {{"Default", 1}},
                "default",
                {"Default", "default"},
                {},
                {1, 0},
                {Kind::InsertSection}},
        AddCase{
            "ANameOfBlanks", {{"Default", 1}}, "   ", {"Default", "   "}, {}, {1, 0}, {Kind::InsertSection}},
        AddCase{"ANameBeyondAscii",
                {{"Default", 1}},
                "Z\xC3\xBCrich \xE2\x8F\xB1 \xF0\x9F\x8F\x83",
                {"Default", "Z\xC3\xBCrich \xE2\x8F\xB1 \xF0\x9F\x8F\x83"},
                {},
                {1, 0},
                {Kind::InsertSection}},
        AddCase{"SeveralEmptySections",
                {{"A", 0}, {"B", 0}, {"C", 1}},
                "N",
                {"C", "N"},
                {"A", "B"},
                {1, 0},
                {Kind::DeleteSection, Kind::DeleteSection}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditingTest, AddingToAnEmptySectionListInsertsTheFirstSection) {
    showFile({{"Default", 1}});
    tapEditButton();
    hide();
    writeSavedTimes("<key>Sections</key><array/><key>Foreign</key><string>kept</string>");
    show();
    ASSERT_EQ(rowCounts(), Counts{});
    addSection("N");
    EXPECT_EQ(fileSections(), Names{"N"});
    EXPECT_TRUE(savedTimes()->objectForKey("Foreign"));
    EXPECT_EQ(rowCounts(), Counts{0});
    EXPECT_EQ(lastChanges(*browser->savedTable()), std::vector<Kind>{Kind::InsertSection});
}

// The file gained sections from outside, the last of them empty, while the table shows one: the
// add drops that section at a place beyond the table's sections, and the table is loaded afresh.
TEST_F(EditingTest, AddingAfterTheFileGainedSectionsFromOutsideReloadsTheTable) {
    showFile({{"A", 1}});
    tapEditButton();
    const std::string record = "<array><dict><key>Total Time</key><real>5</real><key>All Laps</key><array>"
                               "<real>5</real></array></dict></array>";
    writeSavedTimes("<key>Sections</key><array><string>A</string><string>B</string><string>C</string></array>"
                    "<key>Times - A</key>" +
                    record + "<key>Times - B</key>" + record + "<key>Times - C</key><array/>");
    addSection("N");
    EXPECT_EQ(fileSections(), (Names{"A", "B", "N"}));
    EXPECT_EQ(rowCounts(), (Counts{1, 1, 0}));
}

TEST_F(EditingTest, TheFirstSectionStillTakesNewResultsAfterAnAdd) {
    showFile({{"Default", 0}});
    tapEditButton();
    addSection("Track");
    EXPECT_EQ(headerTitles(), (std::vector<std::optional<std::string>>{std::nullopt}));
    EXPECT_FALSE(browser->noSavedTimes()->isHidden());
    ASSERT_TRUE(lv::SavedTimesStore::appendToFirstSection(
                    lv::makeSavedTime(5.0F, {5.0F}, 5.0, NSDate::withTimeIntervalSince1970(0)))
                    .written);
    EXPECT_EQ(fileSections(), Names{"Track"});
    EXPECT_EQ(fileTotals(), (Totals{{5}}));
}

// ---- Refused names ---------------------------------------------------------------------------

struct RefusalCase {
    const char* name;
    /// The file's section list, written as is.
    std::string sectionList;
    std::string typed;
    std::string title;
    std::string message;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.name;
}

const char* const kInvalidTitle = "Invalid Name";
const char* const kInvalidMessage = "Please type in a name without control characters.";

class RefusingAName : public EditingTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusingAName, ShowsWhyOverAFreshDialogAndWritesNothing) {
    const RefusalCase& c = GetParam();
    writeSavedTimes("<key>Sections</key><array>" + c.sectionList + "</array>");
    show();
    runFor(0.5);
    tapEditButton();
    const std::string path = preferencesFile(lv::kSavedTimesFileName);
    const std::string before = testing_support::readWholeFile(path);

    auto dialog = openNewSectionDialog();
    ASSERT_TRUE(dialog->textFieldAtIndex(0)->simulateTyping(c.typed));
    ASSERT_TRUE(dialog->simulateTapButtonWithTitle("Add"));
    runFor(1);
    EXPECT_EQ(testing_support::readWholeFile(path), before);

    // The refusal stands over a fresh, empty dialog; the first one is gone.
    auto shown = alerts();
    ASSERT_EQ(shown.size(), 2U);
    auto fresh = shown[0];
    auto refusal = shown[1];
    EXPECT_NE(fresh, dialog);
    EXPECT_EQ(fresh->title(), "New Section");
    EXPECT_EQ(fresh->textFieldAtIndex(0)->text(), "");
    EXPECT_EQ(refusal->title(), c.title);
    EXPECT_EQ(refusal->message(), c.message);
    EXPECT_FALSE(refusal->delegate());
    ASSERT_EQ(refusal->numberOfButtons(), 1);
    EXPECT_EQ(refusal->buttonTitleAtIndex(refusal->cancelButtonIndex()), "Dismiss");
    EXPECT_TRUE(browser->savedTable()->isEditing());

    // Once the refusal is dismissed the fresh dialog takes another name.
    ASSERT_TRUE(refusal->simulateTapButtonWithTitle("Dismiss"));
    runFor(1);
    ASSERT_EQ(alerts(), (std::vector<std::shared_ptr<UIAlertView>>{fresh}));
    ASSERT_TRUE(fresh->textFieldAtIndex(0)->simulateTyping("Fresh"));
    ASSERT_TRUE(fresh->simulateTapButtonWithTitle("Add"));
    runFor(1);
    EXPECT_EQ(fileSections().back(), "Fresh");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusingAName,
    testing::Values(
        RefusalCase{"ADuplicate", "<string>Default</string>", "Default", "Error",
                    "Section: \"Default\" already exists."},
        RefusalCase{"AnEmptyName", "<string>Default</string>", "", "No Name", "Please type in name."},
        // A name listed as empty (an outside edit) is refused as taken: that test comes first.
        RefusalCase{"AnEmptyNameAlreadyListed", "<string>A</string><string></string>", "", "Error",
                    "Section: \"\" already exists."},
        RefusalCase{"ANameThatLooksLikeAFormat", "<string>%@ %n</string>", "%@ %n", "Error",
                    "Section: \"%@ %n\" already exists."},
        // Characters an XML property list cannot hold, and bytes that are not text,
        // would make the file unreadable to other programs.
        RefusalCase{"EscapeAndBell", "<string>Default</string>", "Esc\x1B[31mRED\x07", kInvalidTitle,
                    kInvalidMessage},
        RefusalCase{"ATab", "<string>Default</string>", "A\tB", kInvalidTitle, kInvalidMessage},
        RefusalCase{"ALineFeed", "<string>Default</string>", "A\nB", kInvalidTitle, kInvalidMessage},
        RefusalCase{"AControlOfTheSecondSet", "<string>Default</string>", "A\xC2\x85", kInvalidTitle,
                    kInvalidMessage},
        RefusalCase{"TheNoncharacterFFFE", "<string>Default</string>", "A\xEF\xBF\xBE", kInvalidTitle,
                    kInvalidMessage},
        RefusalCase{"AByteThatIsNotUtf8", "<string>Default</string>", "Bad\xFF", kInvalidTitle,
                    kInvalidMessage},
        RefusalCase{"ATruncatedSequence", "<string>Default</string>", "Half\xC3", kInvalidTitle,
                    kInvalidMessage},
        RefusalCase{"AnOverlongSlash", "<string>Default</string>", "\xC0\xAF", kInvalidTitle,
                    kInvalidMessage},
        RefusalCase{"AnEncodedSurrogate", "<string>Default</string>", "\xED\xA0\x80", kInvalidTitle,
                    kInvalidMessage}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
