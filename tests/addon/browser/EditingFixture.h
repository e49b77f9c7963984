#pragma once
// The browser on a file of named sections whose records are told apart by their totals (section
// i, row r holds the total 10 i + r + 1), with the gestures that edit it: edit mode, the Delete
// button, drags and the new section dialog.

#include "tests/addon/browser/BrowserFixture.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class NSIndexPath;
class UIAlertView;

namespace testing_support {

/// Sections of a file: each name with its number of records.
using SectionSpec = std::vector<std::pair<std::string, int>>;
/// The totals of each section's records, in order.
using Totals = std::vector<std::vector<double>>;
using Names = std::vector<std::string>;
using Counts = std::vector<NSInteger>;

/// The index path of a row.
std::shared_ptr<NSIndexPath> at(NSInteger section, NSInteger row);

class EditingTest : public BrowserTest {
  protected:
    /// Writes the file (with a foreign key, which every edit keeps) and shows the browser, its
    /// bar settled.
    void showFile(const SectionSpec& sections);

    /// The section list of the file on disk.
    [[nodiscard]] Names fileSections() const;
    /// The totals under each listed section's key, in list order.
    [[nodiscard]] Totals fileTotals() const;
    /// True when the file has the section key of `name`.
    [[nodiscard]] bool fileHasKey(const std::string& name) const;
    /// The number of records of each section of the in-memory list.
    [[nodiscard]] Counts listCounts() const;
    /// The selectors of the delayed messages to the browser waiting in the run loop.
    [[nodiscard]] std::vector<std::string> pendingMessages() const;

    /// The user taps Edit (or Done) and the animations are left to run.
    void tapEditButton();
    /// The user deletes a row: in edit mode its minus then Delete; otherwise a swipe then Delete.
    void deleteRow(NSInteger section, NSInteger row);
    /// In edit mode, the user drags a row to its new place.
    void dragRow(NSInteger fromSection, NSInteger fromRow, NSInteger toSection, NSInteger toRow);
    /// In edit mode, the user taps Add: the new section dialog, in front.
    std::shared_ptr<UIAlertView> openNewSectionDialog();
    /// Opens the dialog, types the name, taps Add and lets the alerts settle.
    void addSection(const std::string& name);
    /// The alerts on screen, back to front.
    [[nodiscard]] std::vector<std::shared_ptr<UIAlertView>> alerts();
};

} // namespace testing_support
