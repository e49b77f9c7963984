// The new section dialog: an alert with one text field in which the user names a new section.
// A name the section list already holds (compared exactly, letter case and blanks included), an
// empty one, or one holding control characters or bytes that are not UTF-8 is refused with an
// alert of its own, shown over a fresh dialog so that the user can
// try again at once. An accepted name becomes the last section, in the file and in the table,
// and every other empty section is then dropped from both. The new section is empty unless
// records were left under its name's key (a name missing from the section list): those are kept
// and shown. The name is checked again with the file locked, and refused the same way when
// another writer added it since.

#include "addon/browser/BrowserMessages.h"
#include "addon/browser/LVViewController.h"
#include "addon/store/SavedTimesStore.h"
#include "addon/store/SectionNameText.h"
#include "platform/foundation/NSIndexSet.h"
#include "platform/runtime/Message.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"

namespace {

const char* const kDismissTitle = "Dismiss";
const char* const kAddTitle = "Add";

} // namespace

void LVViewController::showNewSectionDialog() {
    auto me = self<LVViewController>();
    auto dialog = UIAlertView::withTitle(std::string("New Section"), std::nullopt,
                                         std::static_pointer_cast<UIAlertViewDelegate>(me),
                                         std::string(kDismissTitle), {std::string(kAddTitle)});
    dialog->setAlertViewStyle(UIAlertViewStylePlainTextInput);
    auto field = dialog->textFieldAtIndex(0);
    field->setDelegate(std::static_pointer_cast<UITextFieldDelegate>(me));
    field->setPlaceholder(std::string("Section Name"));
    // The alert overlay keeps the dialog while it is on screen; the browser keeps no reference.
    dialog->show();
}

void LVViewController::alertViewClickedButtonAtIndex(const std::shared_ptr<UIAlertView>& alertView,
                                                     NSInteger index) {
    // "Dismiss" only closes the dialog. The dialog is the only alert with the browser as its
    // delegate; anything else without its text field is left alone.
    if (!alertView || index < 0 || index >= alertView->numberOfButtons() ||
        alertView->buttonTitleAtIndex(index) != kAddTitle ||
        alertView->alertViewStyle() != UIAlertViewStylePlainTextInput) {
        return;
    }
    // The name exactly as typed: it is neither trimmed nor changed in case.
    const std::string name = alertView->textFieldAtIndex(0)->text();
    for (const std::string& taken : lv::SavedTimesStore::sectionNames()) {
        if (taken == name) {
            // A section name is data, never a format: the message is built by concatenation.
            refuseSectionName("Error", "Section: \"" + taken + "\" already exists.");
            return;
        }
    }
    if (name.empty()) {
        refuseSectionName("No Name", "Please type in name.");
        return;
    }
    // No keyboard types a control character, but a pasted or scripted name may hold one, or
    // bytes that are not text at all; stored, either makes the file unreadable to other programs.
    if (lv::holdsCharactersNoNameMay(name)) {
        refuseSectionName("Invalid Name", "Please type in a name without control characters.");
        return;
    }
    addSectionNamed(name);
}

void LVViewController::refuseSectionName(const std::string& title, const std::string& message) {
    auto refusal = UIAlertView::withTitle(title, message, nullptr, std::string(kDismissTitle),
                                          std::vector<std::string>{});
    // In edit mode the top item's left item is the Add item: this opens a fresh, empty dialog.
    auto top = topBar_ ? topBar_->topItem() : nullptr;
    rt::send(self(), lv::browser::topBarButtonClicked, top ? id(top->leftBarButtonItem()) : id());
    // Shown last, the refusal stands over the fresh dialog, which is in front once it is dismissed.
    refusal->show();
}

void LVViewController::addSectionNamed(const std::string& name) {
    completePendingSectionRemoval();
    std::vector<NSInteger> expected = savedTableCounts();
    expected.push_back(0);
    const lv::SavedTimesWrite outcome = lv::SavedTimesStore::addSection(name, [&] {
        rt::send(self(), lv::browser::refreshAllStopWatchSavedTimes);
        // The new section is the last one, holding the records its key already held, if any.
        const auto last = static_cast<NSUInteger>(expected.size() - 1);
        if (auto records = recordsInSection(static_cast<NSInteger>(last))) {
            expected.back() = static_cast<NSInteger>(records->count());
        }
        updateSavedTable(expected, [&] {
            savedTable_->insertSectionsWithRowAnimation(NSIndexSet::indexSetWithIndex(last),
                                                        UITableViewRowAnimationFade);
        });
    });
    if (!outcome.changeWritten) {
        // Nothing reached the file (it is gone or damaged, the write failed, or another writer
        // added the name since the dialog checked it).
        reloadFromFile();
        if (outcome.alreadyExists) {
            refuseSectionName("Error", "Section: \"" + name + "\" already exists.");
        }
        return;
    }
    if (!outcome.droppedSections) {
        return;
    }
    // The dropped sections, by their places before the drops.
    auto dropped = NSMutableIndexSet::indexSet();
    for (std::size_t position : outcome.dropped) {
        dropped->addIndex(static_cast<NSUInteger>(position));
    }
    for (auto it = outcome.dropped.rbegin(); it != outcome.dropped.rend(); ++it) {
        if (*it < expected.size()) {
            expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
    rt::send(self(), lv::browser::refreshAllStopWatchSavedTimes);
    updateSavedTable(
        expected, [&] { savedTable_->deleteSectionsWithRowAnimation(dropped, UITableViewRowAnimationFade); });
}
