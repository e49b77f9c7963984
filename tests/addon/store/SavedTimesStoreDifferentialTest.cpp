// Long random sequences of operations on the saved-times file, with changes made to the file
// from outside between them, run once reusing the cache and once with the plain read-modify-write
// from the same start: after every step the file's bytes, the folder, every outcome and every
// read must be the same. Among the outside changes are same-size rewrites that keep the file's
// modification time, made right after a read (within its clock tick as often as not), and pauses
// that let the file's identity settle, so that the cache both trusts and compares.
// LAPVANE_DIFFERENTIAL_SEQUENCES and LAPVANE_DIFFERENTIAL_STEPS make the run longer.

#include "addon/store/SavedTimeRecord.h"
#include "addon/store/SavedTimesCache.h"
#include "addon/store/SavedTimesStore.h"
#include "platform/foundation/NSNumber.h"
#include "platform/foundation/NSString.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/PropertyListXmlWriter.h"
#include "tests/support/AddonFixture.h"
#include "tests/support/QuietRewrite.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testing_support::DeviceHomeTest;

std::size_t knob(const char* name, std::size_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? static_cast<std::size_t>(std::strtoul(value, nullptr, 10)) : fallback;
}

// Section names that sort before and after the others, need escaping, sort differently in UTF-16,
// or repeat.
const std::vector<std::string> kNames = {
    "Default", "A", "zz", "&<>\"'", "\xc3\x84rger", "Times", "\xf0\x9f\x98\x80", "\xee\x80\x80", "", "B"};

// Keeps the process-wide switches as they were.
struct ModeGuard {
    ~ModeGuard() {
        lv::SavedTimesCache::shared().setCheckAssembledTexts(false);
        lv::SavedTimesStore::setFastPaths(true);
    }
};

class Sequence {
  public:
    Sequence(std::string path, unsigned seed) : path_(std::move(path)), random_(seed) {}

    std::size_t outsideChanges = 0;

    // The trace of every step.
    std::vector<std::string> run(std::size_t steps) {
        std::vector<std::string> trace;
        writeOutside(plist::xmlText(*randomRoot()).text);
        refresh();
        for (std::size_t i = 0; i < steps; ++i) {
            std::string entry = step();
            entry += "\nfile: " + fileState() + "\nlist: " + listText();
            trace.push_back(std::move(entry));
        }
        restoreAccess();
        return trace;
    }

  private:
    std::size_t pick(std::size_t count) { return count == 0 ? 0 : random_() % count; }
    bool chance(unsigned percent) { return random_() % 100 < percent; }

    id record() {
        std::vector<float> laps(1 + pick(4));
        for (float& lap : laps) {
            lap = static_cast<float>(pick(100000)) / 10.0F;
        }
        return lv::makeSavedTime(
            laps.back(), laps, static_cast<double>(pick(1000000)) / 7.0,
            NSDate::withTimeIntervalSince1970(testing_support::kFixedNow - pick(1000000)));
    }

    std::shared_ptr<NSMutableDictionary> randomRoot() {
        auto root = NSMutableDictionary::with();
        auto list = NSMutableArray::with();
        const std::size_t sections = 1 + pick(4);
        for (std::size_t s = 0; s < sections; ++s) {
            const std::string& name = kNames[pick(kNames.size())];
            list->addObject(NSString::with(name));
            auto records = NSMutableArray::with();
            const std::size_t count = pick(6);
            for (std::size_t r = 0; r < count; ++r) {
                records->addObject(record());
            }
            root->setObject(records, lv::sectionKey(name));
        }
        root->setObject(list, lv::kSectionsKey);
        root->setObject(NSString::with("kept"), "Foreign");
        return root;
    }

    // The browser's in-memory list, read afresh.
    void refresh() {
        all_ = NSMutableArray::with();
        const lv::SavedTimesRead read = lv::SavedTimesStore::read();
        if (!read.root) {
            return;
        }
        lv::SavedTimesDocument document(read.root);
        std::set<std::string> seen;
        for (const auto& name : document.sectionNames()) {
            auto records = document.recordsOrEmpty(name);
            if (!seen.insert(name).second) {
                records = NSMutableArray::with(records->items());
            }
            all_->addObject(records);
        }
    }

    std::size_t rowsIn(std::size_t section) const {
        auto records = all_->objectAs<NSArray>(section);
        return records ? records->count() : 0;
    }

    std::string step() {
        const unsigned kind = random_() % 100;
        if (kind < 18) {
            return "capture " + outcome(lv::SavedTimesStore::appendToFirstSection(record()));
        }
        if (kind < 32) {
            const std::size_t section = pick(all_->count() + 1);
            const std::size_t row = pick(rowsIn(section) + (chance(10) ? 1 : 0));
            return "delete " + std::to_string(section) + "/" + std::to_string(row) + " " +
                   outcome(lv::SavedTimesStore::deleteRecord(*all_, section, row, observer()));
        }
        if (kind < 46) {
            const std::size_t from = pick(all_->count());
            const std::size_t to = chance(50) ? from : pick(all_->count());
            const std::size_t fromRow = pick(rowsIn(from));
            const std::size_t toRow = pick(rowsIn(to) + (from == to ? 0 : 1) + (chance(5) ? 1 : 0));
            return "move " + std::to_string(from) + "/" + std::to_string(fromRow) + " to " +
                   std::to_string(to) + "/" + std::to_string(toRow) + " " +
                   outcome(lv::SavedTimesStore::moveRecord(*all_, from, fromRow, to, toRow, observer()));
        }
        if (kind < 54) {
            const std::string& name = kNames[pick(kNames.size())];
            return "add " + name + " " + outcome(lv::SavedTimesStore::addSection(name, observer()));
        }
        if (kind < 58) {
            return "ensure " + outcome(lv::SavedTimesStore::ensureSectionList());
        }
        if (kind < 66) {
            const lv::SavedTimesRead read = lv::SavedTimesStore::read();
            return "read " + std::to_string(static_cast<int>(read.status)) + " " + read.reason + " " +
                   (read.root ? plist::xmlText(*read.root).text : "nil");
        }
        if (kind < 72) {
            std::string names = "names";
            for (const auto& name : lv::SavedTimesStore::sectionNames()) {
                names += " [" + name + "]";
            }
            return names;
        }
        if (kind < 80) {
            refresh();
            return "refresh";
        }
        if (kind < 84) {
            // Long enough for the file's identity to settle, so that later reads may trust it.
            if (std::filesystem::exists(path_)) {
                testing_support::waitForTheClockToPass(path_);
            }
            return "settle";
        }
        ++outsideChanges;
        return "outside " + changeFromOutside();
    }

    lv::AfterChange observer() {
        return [this] {
            afterChange_ = "after change:";
            for (const auto& name : lv::SavedTimesStore::sectionNames()) {
                afterChange_ += " [" + name + "]";
            }
        };
    }

    std::string outcome(const lv::SavedTimesWrite& write) {
        std::string text = std::to_string(write.written) + std::to_string(write.changeWritten) +
                           std::to_string(write.droppedSections) + " read " +
                           std::to_string(write.sectionsRead) + " dropped";
        for (std::size_t i = 0; i < write.dropped.size(); ++i) {
            text += " " + std::to_string(write.dropped[i]) + "[" + write.droppedNames[i] + "]";
        }
        text += " reason " + write.reason + " " + afterChange_;
        afterChange_.clear();
        return text;
    }

    std::string fileState() const {
        std::string state;
        for (const auto& item :
             std::filesystem::directory_iterator(std::filesystem::path(path_).parent_path())) {
            const std::string name = item.path().filename().string();
            if (name.find(".tmp-") == std::string::npos) {
                state += name + " ";
            }
        }
        struct stat info {};
        if (::stat(path_.c_str(), &info) != 0) {
            return state + "missing";
        }
        if (!S_ISREG(info.st_mode)) {
            return state + "not a file";
        }
        return state + std::to_string(info.st_mode & 07777) + "\n" + testing_support::readWholeFile(path_);
    }

    std::string listText() const {
        const plist::EncodeResult text = plist::PropertyListXmlWriter().fragment(*all_, 0);
        return text.ok ? text.text : text.reason;
    }

    void writeOutside(const std::string& bytes) const { testing_support::writeWholeFile(path_, bytes); }

    // The current file's dictionary, or a new one.
    std::shared_ptr<NSMutableDictionary> currentRoot() const {
        auto root = plist::mutableDictionaryWithContentsOfFile(path_);
        return root ? root : NSMutableDictionary::with();
    }

    void restoreAccess() {
        std::error_code ignored;
        if (std::filesystem::is_directory(path_, ignored)) {
            std::filesystem::remove_all(path_, ignored);
        }
        ::chmod(path_.c_str(), 0644);
    }

    std::string changeFromOutside() {
        restoreAccess();
        std::string bytes = testing_support::readWholeFile(path_);
        switch (pick(13)) {
        case 0:
            writeOutside(plist::xmlText(*randomRoot()).text);
            return "other content";
        case 1: {
            // The same dictionary laid out differently: spaces for tabs, as another writer may.
            std::string text;
            for (char c : plist::xmlText(*currentRoot()).text) {
                text += c == '\t' ? std::string("  ") : std::string(1, c);
            }
            writeOutside(text);
            return "other layout";
        }
        case 2: {
            // The same dictionary with its keys in reverse order.
            auto root = currentRoot();
            const plist::PropertyListXmlWriter writer;
            std::string text =
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n";
            for (auto entry = root->entries().rbegin(); entry != root->entries().rend(); ++entry) {
                std::string key = writer.fragment(*NSString::with(entry->first), 1).text;
                key.replace(0, 9, "\t<key>");
                key.replace(key.size() - 10, 10, "</key>\n");
                text += key + writer.fragment(*entry->second, 1).text;
            }
            writeOutside(text + "</dict>\n</plist>\n");
            return "other key order";
        }
        case 3: {
            // Same size, different bytes: one digit changed.
            const std::size_t at = bytes.find("<real>", pick(bytes.size()));
            const std::size_t digit = at == std::string::npos ? bytes.find("<real>") : at;
            if (digit == std::string::npos) {
                return "nothing to change";
            }
            char& c = bytes[digit + 6];
            c = c == '9' ? '1' : static_cast<char>(c + 1);
            writeOutside(bytes);
            return "one digit";
        }
        case 4:
            bytes.resize(bytes.size() / 2);
            writeOutside(bytes);
            return "truncated";
        case 5:
            std::filesystem::remove(path_);
            return "removed";
        case 6: {
            auto root = currentRoot();
            root->setObject(NSString::with("not a list"), lv::kSectionsKey);
            writeOutside(plist::xmlText(*root).text);
            return "section list of the wrong type";
        }
        case 7: {
            auto root = currentRoot();
            const auto names = lv::SavedTimesDocument(root).sectionNames();
            root->setObject(NSNumber::withInteger(7),
                            lv::sectionKey(names.empty() ? "Default" : names[pick(names.size())]));
            writeOutside(plist::xmlText(*root).text);
            return "records of the wrong type";
        }
        case 8:
            if (::geteuid() == 0) {
                // Permissions do not stop the superuser; a folder at the path cannot be read either.
                std::filesystem::remove(path_);
                std::filesystem::create_directory(path_);
                return "a folder";
            }
            ::chmod(path_.c_str(), 0);
            return "no permission";
        case 9:
            writeOutside(bytes);
            return "the same bytes again";
        case 11:
        case 12: {
            // Same size and the same modification time, likely within the clock tick of the last
            // read: in place (the same inode) or renamed over it.
            const std::size_t at = bytes.find("<real>");
            if (at == std::string::npos || !std::filesystem::is_regular_file(path_)) {
                return "nothing to change quietly";
            }
            char& c = bytes[at + 6];
            c = c == '9' ? '1' : static_cast<char>(c + 1);
            if (pick(2) == 0) {
                testing_support::rewriteKeepingTimes(path_, bytes);
                return "one digit in place, times kept";
            }
            testing_support::replaceKeepingTimes(path_, bytes);
            return "one digit renamed over, times kept";
        }
        default:
            writeOutside(plist::xmlText(*currentRoot()).text);
            return "rewritten whole";
        }
    }

    std::string path_;
    std::mt19937 random_;
    std::shared_ptr<NSMutableArray> all_ = NSMutableArray::with();
    std::string afterChange_;
};

class SavedTimesStoreDifferential : public DeviceHomeTest {
  protected:
    std::vector<std::string> runOnce(unsigned seed, std::size_t steps, bool fast, std::size_t& outside) {
        lv::SavedTimesStore::setFastPaths(fast);
        lv::SavedTimesCache::shared().setCheckAssembledTexts(fast);
        const std::string path = preferencesFile(lv::kSavedTimesFileName);
        for (const auto& item :
             std::filesystem::directory_iterator(std::filesystem::path(path).parent_path())) {
            if (item.path().filename() != ".keep") {
                std::filesystem::remove_all(item.path());
            }
        }
        Sequence sequence(path, seed);
        auto trace = sequence.run(steps);
        outside = sequence.outsideChanges;
        return trace;
    }
};

TEST_F(SavedTimesStoreDifferential, TheCacheChangesNothingAnOperationObserves) {
    const ModeGuard guard;
    const std::size_t sequences = knob("LAPVANE_DIFFERENTIAL_SEQUENCES", 6);
    const std::size_t steps = knob("LAPVANE_DIFFERENTIAL_STEPS", 120);
    const auto before = lv::SavedTimesCache::shared().counts();
    std::size_t outsideTotal = 0;
    for (std::size_t s = 0; s < sequences; ++s) {
        const auto seed = static_cast<unsigned>(1000 + s);
        std::size_t outside = 0;
        const auto fast = runOnce(seed, steps, true, outside);
        const auto plain = runOnce(seed, steps, false, outside);
        outsideTotal += outside;
        ASSERT_EQ(fast.size(), plain.size());
        for (std::size_t i = 0; i < fast.size(); ++i) {
            ASSERT_EQ(fast[i], plain[i]) << "seed " << seed << ", step " << i;
        }
    }
    const auto after = lv::SavedTimesCache::shared().counts();
    std::cout << "[ figures  ] " << sequences << " sequences, " << sequences * steps << " steps, "
              << outsideTotal << " outside changes; writes assembled " << after.assembled - before.assembled
              << ", whole " << after.whole - before.whole << "; reads reused " << after.reused - before.reused
              << ", parsed " << after.parsed - before.parsed << " (of them checked, read in part "
              << after.stoodIn - before.stoodIn << "), trusted on the file's identity "
              << after.trusted - before.trusted << "\n";
    // The fast run must really have taken its fast paths.
    EXPECT_GT(after.assembled - before.assembled, sequences * steps / 20);
    EXPECT_GT(after.reused - before.reused, after.parsed - before.parsed);
    EXPECT_GT(after.trusted - before.trusted, 0U);
    // Captures after an outside change kept the sections they did not touch as checked text.
    EXPECT_GT(after.stoodIn - before.stoodIn, sequences * steps / 100);
}

} // namespace
