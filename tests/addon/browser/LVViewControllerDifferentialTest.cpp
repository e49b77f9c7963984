// The browser driven through random gestures, saves and outside changes of the file, once with
// the saved-times cache and once with the plain read-modify-write, from the same start: after
// every step the in-memory sections, the table, the laps shown and the file must be the same.
// LAPVANE_DIFFERENTIAL_SEQUENCES and LAPVANE_DIFFERENTIAL_STEPS make the run longer.

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesCache.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "platform/uikit/UIAlertView.h"
#include "platform/uikit/UITableView.h"
#include "tests/addon/browser/EditingFixture.h"
#include "tests/support/QuietRewrite.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>

namespace {

std::size_t knob(const char* name, std::size_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? static_cast<std::size_t>(std::strtoul(value, nullptr, 10)) : fallback;
}

// One device with the browser shown, driven by a seeded sequence.
class Device : public testing_support::EditingTest {
  public:
    explicit Device(unsigned seed) : random_(seed) {}
    void TestBody() override {}

    std::vector<std::string> run(std::size_t steps) {
        showFile({{"Default", 3}, {"Work", 4}, {"&lt;b&gt;", 2}});
        std::vector<std::string> trace;
        for (std::size_t i = 0; i < steps && !HasFatalFailure(); ++i) {
            std::string entry = step();
            runFor(1);
            dismissAlerts();
            trace.push_back(entry + "\n" + state());
        }
        return trace;
    }

  private:
    std::size_t pick(std::size_t count) { return count == 0 ? 0 : random_() % count; }

    // A random row of the table: (section, row), or nothing when the table has no rows.
    std::optional<std::pair<NSInteger, NSInteger>> anyRow() {
        const auto counts = rowCounts();
        std::vector<std::pair<NSInteger, NSInteger>> rows;
        for (std::size_t s = 0; s < counts.size(); ++s) {
            for (NSInteger r = 0; r < counts[s]; ++r) {
                rows.emplace_back(static_cast<NSInteger>(s), r);
            }
        }
        if (rows.empty()) {
            return std::nullopt;
        }
        return rows[pick(rows.size())];
    }

    void setEditing(bool editing) {
        if (browser->savedTable()->isEditing() != editing) {
            tapEditButton();
        }
    }

    std::string step() {
        switch (pick(8)) {
        case 0:
        case 1:
            if (auto row = anyRow()) {
                // A row off screen shows no Delete button; the step then does nothing, in both runs.
                auto table = browser->savedTable();
                const auto path = testing_support::at(row->first, row->second);
                const bool shown = table->isEditing() ? table->simulateTapEditingControl(path)
                                                      : table->simulateSwipeOnRow(path);
                const bool deleted = shown && table->simulateTapDeleteConfirmation();
                return "delete " + std::to_string(row->first) + "/" + std::to_string(row->second) + " " +
                       std::to_string(deleted);
            }
            return "nothing to delete";
        case 2:
            if (auto row = anyRow()) {
                setEditing(true);
                const auto counts = rowCounts();
                const auto to = static_cast<NSInteger>(pick(counts.size()));
                const auto places = counts[static_cast<std::size_t>(to)] + (to == row->first ? 0 : 1);
                const auto toRow = static_cast<NSInteger>(pick(static_cast<std::size_t>(places)));
                const bool dragged = browser->savedTable()->simulateDrag(
                    testing_support::at(row->first, row->second), testing_support::at(to, toRow));
                return "drag " + std::to_string(row->first) + "/" + std::to_string(row->second) + " to " +
                       std::to_string(to) + "/" + std::to_string(toRow) + " " + std::to_string(dragged);
            }
            return "nothing to drag";
        case 3: {
            setEditing(true);
            static const std::vector<std::string> names = {"Work", "Z",       "A & B",
                                                           "<x>",  "Default", "\xc3\x84"};
            const std::string& name = names[pick(names.size())];
            addSection(name);
            return "add " + name;
        }
        case 4: {
            // Half the saves meet a file another process changed since the tab last read it.
            const std::string before = pick(2) == 0 ? rewriteByThisProgram() + ", " : std::string();
            const auto written = lv::SavedTimesStore::appendToFirstSection(lv::makeSavedTime(
                1.5F, {1.5F, static_cast<float>(pick(100))}, static_cast<double>(pick(1000)),
                NSDate::withTimeIntervalSince1970(testing_support::kFixedNow)));
            hide();
            show();
            return before + "save " + std::to_string(written.written);
        }
        case 5:
            return "outside " + changeFromOutside();
        case 6:
            setEditing(false);
            if (auto row = anyRow()) {
                tapResult(row->first, row->second);
                runFor(1);
                const std::string laps = "tap " + std::to_string(row->first) + "/" +
                                         std::to_string(row->second) + " laps " +
                                         std::to_string(lapTexts().size());
                tapBack();
                return laps;
            }
            return "nothing to tap";
        default:
            setEditing(false);
            hide();
            show();
            return "appear";
        }
    }

    // Another process of this program saves: the writer's text, with the last section's first
    // record gone.
    std::string rewriteByThisProgram() {
        const std::string path = preferencesFile(lv::kSavedTimesFileName);
        auto root = plist::mutableDictionaryWithContentsOfFile(path);
        if (!root) {
            return "nothing";
        }
        const lv::SavedTimesDocument document(root);
        const auto names = document.sectionNames();
        auto records = names.empty() ? nullptr : document.records(names.back());
        if (records && records->count() > 0) {
            records->removeObjectAtIndex(0);
            root->setObject(records, lv::sectionKey(names.back()));
        }
        writeSavedTimesBytes(plist::xmlText(*root).text);
        return "rewritten by this program";
    }

    std::string changeFromOutside() {
        const std::string path = preferencesFile(lv::kSavedTimesFileName);
        std::string bytes = testing_support::readWholeFile(path);
        switch (pick(5)) {
        case 0: {
            auto root = plist::mutableDictionaryWithContentsOfFile(path);
            if (!root) {
                return "nothing";
            }
            // Spaces for tabs: the same dictionary in another writer's layout.
            std::string text;
            for (char c : plist::xmlText(*root).text) {
                text += c == '\t' ? std::string("  ") : std::string(1, c);
            }
            writeSavedTimesBytes(text);
            return "other layout";
        }
        case 1:
        case 2: {
            // One digit changed: the file rewritten as before, or in place with the same size and
            // modification time right after the browser's last read, where only the change time
            // tells.
            const bool quietly = pick(2) == 0;
            const std::size_t at = quietly ? bytes.rfind("<real>") : bytes.find("<real>");
            if (at == std::string::npos) {
                return "nothing";
            }
            char& c = bytes[at + 6];
            c = c == '9' ? '1' : static_cast<char>(c + 1);
            if (quietly) {
                testing_support::rewriteKeepingTimes(path, bytes);
                return "one digit, times kept";
            }
            writeSavedTimesBytes(bytes);
            return "one digit";
        }
        case 3:
            return rewriteByThisProgram();
        default:
            writeSavedTimesBytes(bytes.substr(0, bytes.size() / 2));
            return "truncated";
        }
    }

    void dismissAlerts() {
        for (int guard = 0; guard < 8 && !alerts().empty(); ++guard) {
            alerts().back()->simulateTapButtonAtIndex(0);
            runFor(1);
        }
    }

    std::string state() {
        std::string text =
            plist::PropertyListXmlWriter().fragment(*browser->allStopWatchSavedTimes(), 0).text;
        text += "titles";
        for (const auto& title : headerTitles()) {
            text += " [" + title.value_or("nil") + "]";
        }
        text += "\nrows";
        for (NSInteger rows : rowCounts()) {
            text += " " + std::to_string(rows);
        }
        text += "\nlaps";
        for (const auto& lap : lapTexts()) {
            text += " " + lap;
        }
        text += "\nediting " + std::to_string(browser->savedTable()->isEditing()) + "\nfile\n" +
                testing_support::readWholeFile(preferencesFile(lv::kSavedTimesFileName));
        return text;
    }

    std::mt19937 random_;
};

std::vector<std::string> runDevice(unsigned seed, std::size_t steps, bool fast) {
    lv::SavedTimesStore::setFastPaths(fast);
    lv::SavedTimesCache::shared().setCheckAssembledTexts(fast);
    Device device(seed);
    return device.run(steps);
}

TEST(LVViewControllerDifferential, TheBrowserShowsAndWritesTheSameWithAndWithoutTheCache) {
    const std::size_t sequences = knob("LAPVANE_DIFFERENTIAL_SEQUENCES", 3);
    const std::size_t steps = knob("LAPVANE_DIFFERENTIAL_STEPS", 40);
    std::size_t changes = 0;
    std::size_t total = 0;
    const auto before = lv::SavedTimesCache::shared().counts();
    for (std::size_t s = 0; s < sequences; ++s) {
        const auto seed = static_cast<unsigned>(500 + s);
        const auto fast = runDevice(seed, steps, true);
        const auto plain = runDevice(seed, steps, false);
        lv::SavedTimesCache::shared().setCheckAssembledTexts(false);
        lv::SavedTimesStore::setFastPaths(true);
        ASSERT_EQ(fast.size(), plain.size()) << "seed " << seed;
        for (std::size_t i = 0; i < fast.size(); ++i) {
            ASSERT_EQ(fast[i], plain[i]) << "seed " << seed << ", step " << i;
            const auto fileOf = [](const std::string& entry) { return entry.substr(entry.find("\nfile\n")); };
            changes += i > 0 && fileOf(fast[i]) != fileOf(fast[i - 1]) ? 1 : 0;
        }
        total += fast.size();
    }
    std::cout << "[ figures  ] " << sequences << " sequences, " << total << " steps, " << changes
              << " of them changed the file; captures that checked what they did not read "
              << lv::SavedTimesCache::shared().counts().stoodIn - before.stoodIn << "\n";
    // The sequences must really have edited the file.
    EXPECT_GT(changes, total / 5);
    // Saves after an outside change left sections as checked text that the tab then showed.
    EXPECT_GT(lv::SavedTimesCache::shared().counts().stoodIn, before.stoodIn);
}

} // namespace
