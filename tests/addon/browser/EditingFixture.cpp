#include "tests/addon/browser/EditingFixture.h"

#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSIndexPath.h"
#include "platform/foundation/NSNumber.h"
#include "platform/uikit/AlertPresenter.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"

namespace testing_support {

std::shared_ptr<NSIndexPath> at(NSInteger section, NSInteger row) {
    return NSIndexPath::indexPathForRowInSection(row, section);
}

void EditingTest::showFile(const SectionSpec& sections) {
    std::string list;
    std::string keys;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        list += "<string>" + sections[i].first + "</string>";
        keys += "<key>Times - " + sections[i].first + "</key><array>";
        for (int r = 0; r < sections[i].second; ++r) {
            const std::string total = std::to_string(10 * i + static_cast<std::size_t>(r) + 1);
            keys += "<dict><key>Total Time</key><real>" + total + "</real><key>All Laps</key><array><real>" +
                    total + "</real></array><key>Date</key><date>2013-03-02T12:00:00Z</date></dict>";
        }
        keys += "</array>";
    }
    writeSavedTimes("<key>Sections</key><array>" + list + "</array>" + keys +
                    "<key>Foreign</key><string>kept</string>");
    show();
    // The top bar pushes its root item with an animation; its items take taps once it is done.
    runFor(0.5);
}

Names EditingTest::fileSections() const {
    auto file = savedTimes();
    return file ? strings(*file, lv::kSectionsKey) : Names{};
}

Totals EditingTest::fileTotals() const {
    Totals totals;
    auto file = savedTimes();
    for (const std::string& name : fileSections()) {
        std::vector<double> section;
        if (auto records = file->objectAs<NSArray>(lv::sectionKey(name))) {
            for (const id& record : records->items()) {
                auto dictionary = rt::cast<NSDictionary>(record);
                auto total = dictionary ? dictionary->objectAs<NSNumber>("Total Time") : nullptr;
                section.push_back(total ? total->doubleValue() : -1);
            }
        }
        totals.push_back(section);
    }
    return totals;
}

bool EditingTest::fileHasKey(const std::string& name) const {
    auto file = savedTimes();
    return file && file->objectForKey(lv::sectionKey(name)) != nullptr;
}

Counts EditingTest::listCounts() const {
    Counts counts;
    for (const id& section : browser->allStopWatchSavedTimes()->items()) {
        auto records = rt::cast<NSArray>(section);
        counts.push_back(records ? static_cast<NSInteger>(records->count()) : -1);
    }
    return counts;
}

std::vector<std::string> EditingTest::pendingMessages() const {
    std::vector<std::string> selectors;
    for (const auto& pending : runLoop.pending()) {
        if (pending.target == browser) {
            selectors.push_back(pending.selector);
        }
    }
    return selectors;
}

void EditingTest::tapEditButton() {
    EXPECT_TRUE(browser->topBar()->simulateTapRightItem());
    runFor(0.5);
}

void EditingTest::deleteRow(NSInteger section, NSInteger row) {
    auto table = browser->savedTable();
    const bool shown = table->isEditing() ? table->simulateTapEditingControl(at(section, row))
                                          : table->simulateSwipeOnRow(at(section, row));
    ASSERT_TRUE(shown) << "row " << section << " " << row << " shows no Delete button";
    ASSERT_TRUE(table->simulateTapDeleteConfirmation());
}

void EditingTest::dragRow(NSInteger fromSection, NSInteger fromRow, NSInteger toSection, NSInteger toRow) {
    ASSERT_TRUE(browser->savedTable()->simulateDrag(at(fromSection, fromRow), at(toSection, toRow)))
        << "row " << fromSection << " " << fromRow << " cannot be dragged to " << toSection << " " << toRow;
}

std::shared_ptr<UIAlertView> EditingTest::openNewSectionDialog() {
    EXPECT_TRUE(browser->topBar()->simulateTapLeftItem()) << "no Add item";
    return environment.alerts().front();
}

void EditingTest::addSection(const std::string& name) {
    auto dialog = openNewSectionDialog();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog->textFieldAtIndex(0)->simulateTyping(name));
    ASSERT_TRUE(dialog->simulateTapButtonWithTitle("Add"));
    runFor(1);
}

std::vector<std::shared_ptr<UIAlertView>> EditingTest::alerts() {
    return environment.alerts().stack();
}

} // namespace testing_support
