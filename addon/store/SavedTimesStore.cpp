#include "addon/store/SavedTimesStore.h"

#include "addon/store/UnreadableFile.h"
#include "platform/foundation/NSHomeDirectory.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/WallClock.h"

#include <optional>
#include <sys/stat.h>

namespace lv {

std::string savedTimesPath() {
    return NSHomeDirectory() + "/Library/Preferences/" + kSavedTimesFileName;
}

SavedTimesRead SavedTimesStore::read() {
    plist::ReadResult result =
        plist::readDictionaryFile(savedTimesPath(), plist::Mutability::MutableContainers);
    SavedTimesRead read;
    read.reason = result.reason;
    switch (result.status) {
    case plist::ReadStatus::Ok:
        read.status = SavedTimesRead::Status::Ok;
        read.root = result.mutableDictionary();
        break;
    case plist::ReadStatus::Missing:
        read.status = SavedTimesRead::Status::Missing;
        break;
    case plist::ReadStatus::Unreadable:
        read.status = SavedTimesRead::Status::Unreadable;
        break;
    }
    return read;
}

std::vector<std::string> SavedTimesStore::sectionNames() {
    SavedTimesRead current = read();
    return current.root ? SavedTimesDocument(current.root).sectionNames() : std::vector<std::string>{};
}

SavedTimesWrite SavedTimesStore::writeCreating(const std::function<void(SavedTimesDocument&)>& change) {
    SavedTimesWrite outcome;
    SavedTimesRead current = read();
    std::optional<unsigned> keptMode;
    if (current.status == SavedTimesRead::Status::Unreadable) {
        MovedAside moved = moveUnreadableAside(savedTimesPath(), ns::WallClock::current().unixSeconds());
        if (!moved.failure.empty()) {
            // Writing now would destroy the only copy of whatever the file holds.
            outcome.reason = moved.failure;
            return outcome;
        }
        keptMode = moved.mode;
    }
    auto root = current.root && current.root->count() > 0 ? current.root : NSMutableDictionary::with();
    SavedTimesDocument document(root);
    change(document);
    // The new file is as private as the one it replaces.
    if (write(*root, outcome) && keptMode) {
        ::chmod(savedTimesPath().c_str(), static_cast<mode_t>(*keptMode));
    }
    return outcome;
}

bool SavedTimesStore::write(const NSMutableDictionary& root, SavedTimesWrite& outcome) {
    plist::WriteResult result = plist::writeToFile(root, savedTimesPath(), true);
    if (!result.ok) {
        outcome.written = false;
        outcome.reason = result.reason;
        return false;
    }
    outcome.written = true;
    return true;
}

SavedTimesWrite SavedTimesStore::appendToFirstSection(const id& record) {
    return writeCreating([&record](SavedTimesDocument& document) {
        document.ensureSectionList();
        const std::string first = document.sectionNames().front();
        auto records = document.records(first);
        if (!records || records->count() == 0) {
            records = NSMutableArray::with();
        }
        records->addObject(record);
        document.storeRecords(first, records);
    });
}

SavedTimesWrite SavedTimesStore::ensureSectionList() {
    SavedTimesRead current = read();
    if (current.status == SavedTimesRead::Status::Ok &&
        !SavedTimesDocument(current.root).sectionNames().empty()) {
        return {};
    }
    return writeCreating([](SavedTimesDocument& document) {
        document.ensureSectionList();
        // Records already under the default key (a file whose section list was lost) are kept
        // rather than replaced by an empty list.
        if (!document.records(kDefaultSectionName)) {
            document.storeRecords(kDefaultSectionName, NSMutableArray::with());
        }
    });
}

std::shared_ptr<NSMutableDictionary> SavedTimesStore::readExisting(SavedTimesWrite& outcome) {
    SavedTimesRead current = read();
    if (current.status != SavedTimesRead::Status::Ok) {
        outcome.reason = current.status == SavedTimesRead::Status::Missing ? "there is no saved-times file"
                                                                           : current.reason;
        return nullptr;
    }
    return current.root;
}

void SavedTimesStore::writeThenDrop(SavedTimesDocument& document, const std::vector<std::size_t>& emptied,
                                    SavedTimesWrite& outcome, const AfterChange& afterChange) {
    if (!write(*document.root(), outcome)) {
        return;
    }
    outcome.changeWritten = true;
    if (afterChange) {
        afterChange();
    }
    if (emptied.empty()) {
        return;
    }
    // Only a change that reached the file may lead to a drop: otherwise the section the file
    // holds may still have its records.
    const auto names = document.sectionNames();
    document.dropSections(emptied);
    if (write(*document.root(), outcome)) {
        outcome.droppedSections = true;
        outcome.dropped = emptied;
        for (std::size_t position : emptied) {
            outcome.droppedNames.push_back(position < names.size() ? names[position] : std::string());
        }
    }
}

SavedTimesWrite SavedTimesStore::deleteRecord(NSMutableArray& sections, std::size_t section, std::size_t row,
                                              const AfterChange& afterChange) {
    SavedTimesWrite outcome;
    auto root = readExisting(outcome);
    if (!root) {
        return outcome;
    }
    SavedTimesDocument document(root);
    const auto names = document.sectionNames();
    outcome.sectionsRead = names.size();
    auto records = sections.objectAs<NSMutableArray>(section);
    if (!records || section >= names.size() || row >= records->count()) {
        outcome.reason = "no such record";
        return outcome;
    }
    records->removeObjectAtIndex(row);
    document.storeRecords(names[section], records);
    const bool emptied = names.size() >= 2 && records->count() == 0;
    writeThenDrop(document, emptied ? std::vector<std::size_t>{section} : std::vector<std::size_t>{}, outcome,
                  afterChange);
    return outcome;
}

SavedTimesWrite SavedTimesStore::moveRecord(NSMutableArray& sections, std::size_t fromSection,
                                            std::size_t fromRow, std::size_t toSection, std::size_t toRow,
                                            const AfterChange& afterChange) {
    SavedTimesWrite outcome;
    auto root = readExisting(outcome);
    if (!root) {
        return outcome;
    }
    SavedTimesDocument document(root);
    const auto names = document.sectionNames();
    outcome.sectionsRead = names.size();
    auto source = sections.objectAs<NSMutableArray>(fromSection);
    auto destination = sections.objectAs<NSMutableArray>(toSection);
    if (!source || !destination || fromSection >= names.size() || toSection >= names.size() ||
        fromRow >= source->count()) {
        outcome.reason = "no such record";
        return outcome;
    }
    // The destination row counts the record itself when it stays in its section.
    const std::size_t places = destination->count() + (fromSection == toSection ? 0 : 1);
    if (toRow >= places) {
        outcome.reason = "no such place";
        return outcome;
    }
    id record = source->objectAtIndex(fromRow);
    source->removeObjectAtIndex(fromRow);
    destination->insertObject(record, toRow);
    document.storeRecords(names[fromSection], source);
    document.storeRecords(names[toSection], destination);
    const bool emptied = names.size() >= 2 && source->count() == 0;
    writeThenDrop(document, emptied ? std::vector<std::size_t>{fromSection} : std::vector<std::size_t>{},
                  outcome, afterChange);
    return outcome;
}

SavedTimesWrite SavedTimesStore::addSection(const std::string& name, const AfterChange& afterChange) {
    SavedTimesWrite outcome;
    auto root = readExisting(outcome);
    if (!root) {
        return outcome;
    }
    SavedTimesDocument document(root);
    const auto before = document.sectionNames();
    outcome.sectionsRead = before.size();
    document.appendSection(name);
    // Positions are those before any drop; the section just added is last and never among them.
    std::vector<std::size_t> emptied;
    if (before.size() + 1 >= 2) {
        for (std::size_t i = 0; i < before.size(); ++i) {
            auto records = document.records(before[i]);
            if (!records || records->count() == 0) {
                emptied.push_back(i);
            }
        }
    }
    writeThenDrop(document, emptied, outcome, afterChange);
    return outcome;
}

} // namespace lv
