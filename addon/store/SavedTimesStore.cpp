#include "addon/store/SavedTimesStore.h"

#include "addon/store/SavedTimesCache.h"
#include "addon/store/StoreTrace.h"
#include "platform/foundation/NSHomeDirectory.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/PropertyListFile.h"
#include "platform/foundation/UnreadableFile.h"
#include "platform/foundation/WallClock.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace lv {

std::string savedTimesPath() {
    return NSHomeDirectory() + "/Library/Preferences/" + kSavedTimesFileName;
}

namespace {

bool plainRequested() {
    const char* plain = std::getenv("LAPVANE_PLAIN_IO");
    return plain != nullptr && std::string_view(plain) == "1";
}

std::atomic<bool>& fastPathsFlag() {
    static std::atomic<bool> on{!plainRequested()};
    return on;
}

const char* const kSectionListNotAList = "\"Sections\" is not a list";

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

} // namespace

bool SavedTimesStore::fastPaths() {
    return fastPathsFlag().load();
}

void SavedTimesStore::setFastPaths(bool on) {
    fastPathsFlag().store(on);
    SavedTimesCache::shared().drop();
}

SavedTimesWrite SavedTimesStore::settled(SavedTimesWrite outcome) {
    if (!outcome.reason.empty()) {
        SavedTimesCache::shared().drop();
    }
    // An edit whose change reached the file stored something even when its drop of emptied
    // sections failed; a capture or a first load stored something when it wrote.
    if (!outcome.reason.empty() && !outcome.changeWritten && !outcome.written) {
        NSLog(kStoredNothingLogPrefix + outcome.reason);
    }
    return outcome;
}

std::optional<std::string> SavedTimesStore::refusalLoggedSince(std::uint64_t mark) {
    const std::vector<std::string> messages = ns::SystemLog::since(mark);
    const std::string_view prefix = kStoredNothingLogPrefix;
    for (auto message = messages.rbegin(); message != messages.rend(); ++message) {
        if (message->starts_with(prefix)) {
            return message->substr(prefix.size());
        }
    }
    return std::nullopt;
}

SavedTimesRead SavedTimesStore::read() {
    return readWanting(SavedTimesCache::Wanted::Everything);
}

SavedTimesRead SavedTimesStore::readWanting(SavedTimesCache::Wanted wanted) {
    plist::ReadResult result;
    if (fastPaths()) {
        SavedTimesCache::Read cached = SavedTimesCache::shared().read(savedTimesPath(), wanted);
        result.status = cached.status;
        result.reason = std::move(cached.reason);
        if (cached.tree) {
            // A new root the caller may change, holding the cache's values, which cannot change.
            result.dictionary = NSMutableDictionary::with(cached.tree->entries());
        }
    } else {
        result = plist::readDictionaryFile(savedTimesPath(), plist::Mutability::MutableContainers);
    }
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
    case plist::ReadStatus::Inaccessible:
        read.status = SavedTimesRead::Status::Inaccessible;
        break;
    }
    return read;
}

std::vector<std::string> SavedTimesStore::sectionNames() {
    if (fastPaths()) {
        const SavedTimesCache::Read cached = SavedTimesCache::shared().read(savedTimesPath());
        return cached.tree ? sectionNamesOf(*cached.tree) : std::vector<std::string>{};
    }
    SavedTimesRead current = read();
    return current.root ? SavedTimesDocument(current.root).sectionNames() : std::vector<std::string>{};
}

SavedTimesWrite SavedTimesStore::writeCreating(const CreatingChange& change, const AfterWrite& afterWrite,
                                               SavedTimesCache::Wanted wanted) {
    SavedTimesWrite outcome;
    const plist::FileLock lock = plist::FileLock::acquire(savedTimesPath());
    if (!lock.held()) {
        outcome.reason = lock.failure();
        return outcome;
    }
    SavedTimesRead current = readWanting(wanted);
    if (current.status == SavedTimesRead::Status::Inaccessible) {
        // Nothing is known of what the file holds; replacing or moving it could lose it all.
        outcome.reason = current.reason;
        return outcome;
    }
    std::optional<plist::FileAttributes> keptAttributes;
    if (current.status == SavedTimesRead::Status::Unreadable) {
        plist::MovedAside moved =
            plist::moveUnreadableAside(savedTimesPath(), ns::WallClock::current().unixSeconds());
        if (!moved.failure.empty()) {
            // Writing now would destroy the only copy of whatever the file holds.
            outcome.reason = moved.failure;
            return outcome;
        }
        // The new file is as private as the one it replaces.
        keptAttributes = moved.attributes;
    }
    auto root = current.root && current.root->count() > 0 ? current.root : NSMutableDictionary::with();
    SavedTimesDocument document(root);
    if (change(document, outcome) && write(*root, outcome, keptAttributes) && afterWrite) {
        afterWrite(outcome);
    }
    return outcome;
}

bool SavedTimesStore::write(const NSMutableDictionary& root, SavedTimesWrite& outcome,
                            const std::optional<plist::FileAttributes>& attributes) {
    plist::WriteResult result = fastPaths()
                                    ? SavedTimesCache::shared().write(root, savedTimesPath(), attributes)
                                    : plist::writeToFile(root, savedTimesPath(), true, attributes);
    if (!result.ok) {
        outcome.written = false;
        outcome.reason = result.reason;
        return false;
    }
    outcome.written = true;
    return true;
}

SavedTimesWrite SavedTimesStore::appendToFirstSection(const id& record) {
    std::string appendedTo;
    return settled(writeCreating(
        [&](SavedTimesDocument& document, SavedTimesWrite& outcome) {
            if (document.sectionListHasWrongType()) {
                outcome.reason = kSectionListNotAList;
                return false;
            }
            document.ensureSectionList();
            const std::string first = document.sectionNames().front();
            if (document.recordsHaveWrongType(first)) {
                outcome.reason = "the first section's records are not a list";
                return false;
            }
            auto records = document.records(first);
            if (!records || records->count() == 0) {
                records = NSMutableArray::with();
            }
            records->addObject(record);
            document.storeRecords(first, records);
            appendedTo = first;
            return true;
        },
        [&](const SavedTimesWrite& /*outcome*/) {
            if (storetrace::on()) {
                storetrace::stored("capture " + storetrace::recordName(record) + " to " +
                                   storetrace::quoted(appendedTo));
            }
        },
        // The capture changes only the first section: the others stay checked text.
        SavedTimesCache::Wanted::SectionListAndFirstSection));
}

SavedTimesWrite SavedTimesStore::ensureSectionList() {
    SavedTimesRead current = read();
    if (current.status == SavedTimesRead::Status::Ok &&
        !SavedTimesDocument(current.root).sectionNames().empty()) {
        return {};
    }
    return settled(writeCreating([](SavedTimesDocument& document, SavedTimesWrite& outcome) {
        if (document.sectionListHasWrongType()) {
            outcome.reason = kSectionListNotAList;
            return false;
        }
        // Another writer may have made the list since the check above; then there is nothing
        // to do.
        if (!document.ensureSectionList()) {
            return false;
        }
        // Records already under the default key (a file whose section list was lost) are kept
        // rather than replaced by an empty list, and so is a value of the wrong type there.
        if (!document.root()->objectForKey(sectionKey(kDefaultSectionName))) {
            document.storeRecords(kDefaultSectionName, NSMutableArray::with());
        }
        return true;
    }));
}

bool SavedTimesStore::recordsCanBeStored(const SavedTimesDocument& document,
                                         const std::vector<std::string>& names, SavedTimesWrite& outcome) {
    for (const auto& name : names) {
        if (document.recordsHaveWrongType(name)) {
            outcome.reason = "the records of " + quoted(name) + " are not a list";
            return false;
        }
    }
    return true;
}

bool SavedTimesStore::fileStillShows(const SavedTimesDocument& document,
                                     const std::vector<std::string>& names, const ShownSections& shown,
                                     const std::vector<std::size_t>& positions, SavedTimesWrite& outcome) {
    for (std::size_t position : positions) {
        const bool shownNameKnown = shown.names && position < shown.names->size();
        if (position >= names.size()) {
            // Another writer took the section out of the list.
            outcome.reason = "the section " +
                             (shownNameKnown ? quoted((*shown.names)[position]) : std::string("shown")) +
                             " changed since the list was read";
            return false;
        }
        const std::string& name = names[position];
        const bool sameName = !shown.names || (shownNameKnown && (*shown.names)[position] == name);
        auto shownRecords = shown.records.objectAs<NSArray>(position);
        const auto readRecords = sameName ? document.recordsOrEmpty(name) : nullptr;
        if (!sameName || !shownRecords || !sameRecords(*shownRecords, *readRecords)) {
            outcome.reason = "the section " + quoted(shownNameKnown ? (*shown.names)[position] : name) +
                             " changed since the list was read";
            return false;
        }
    }
    return true;
}

void SavedTimesStore::showStored(const SavedTimesDocument& document, const std::vector<std::string>& names,
                                 const ShownSections& shown, const std::vector<std::size_t>& changed) {
    for (std::size_t place = 0; place < names.size() && place < shown.records.count(); ++place) {
        const bool sharesKey = std::any_of(changed.begin(), changed.end(), [&](std::size_t position) {
            return position != place && names[position] == names[place];
        });
        if (sharesKey && std::find(changed.begin(), changed.end(), place) == changed.end()) {
            shown.records.replaceObjectAtIndex(
                place, NSMutableArray::with(document.recordsOrEmpty(names[place])->items()));
        }
    }
}

bool SavedTimesStore::listedOnce(const std::vector<std::string>& names, std::size_t position,
                                 SavedTimesWrite& outcome) {
    if (std::count(names.begin(), names.end(), names[position]) > 1) {
        outcome.reason = "the section name " + quoted(names[position]) +
                         " is listed more than once in \"Sections\" (lapvane times check names it; keep one)";
        return false;
    }
    return true;
}

std::shared_ptr<NSMutableDictionary> SavedTimesStore::readExisting(SavedTimesWrite& outcome,
                                                                   plist::FileLock& lock) {
    lock = plist::FileLock::acquire(savedTimesPath());
    if (!lock.held()) {
        outcome.reason = lock.failure();
        return nullptr;
    }
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

SavedTimesWrite SavedTimesStore::deleteRecord(const ShownSections& shown, std::size_t section,
                                              std::size_t row, const AfterChange& afterChange) {
    SavedTimesWrite outcome;
    plist::FileLock lock;
    auto root = readExisting(outcome, lock);
    if (!root) {
        return settled(outcome);
    }
    SavedTimesDocument document(root);
    const auto names = document.sectionNames();
    outcome.sectionsRead = names.size();
    auto records = shown.records.objectAs<NSMutableArray>(section);
    if (!records || row >= records->count()) {
        outcome.reason = "no such record";
        return settled(outcome);
    }
    if (!fileStillShows(document, names, shown, {section}, outcome) ||
        !recordsCanBeStored(document, {names[section]}, outcome)) {
        return settled(outcome);
    }
    const bool emptied = names.size() >= 2 && records->count() == 1;
    // Dropping the emptied section would take its key from the other place that lists it.
    if (emptied && !listedOnce(names, section, outcome)) {
        return settled(outcome);
    }
    const id removed = records->objectAtIndex(row);
    records->removeObjectAtIndex(row);
    document.storeRecords(names[section], records);
    showStored(document, names, shown, {section});
    writeThenDrop(document, emptied ? std::vector<std::size_t>{section} : std::vector<std::size_t>{}, outcome,
                  afterChange);
    if (outcome.changeWritten && storetrace::on()) {
        storetrace::stored("delete " + storetrace::recordName(removed) + " from " +
                           storetrace::quoted(names[section]));
    }
    return settled(outcome);
}

SavedTimesWrite SavedTimesStore::moveRecord(const ShownSections& shown, std::size_t fromSection,
                                            std::size_t fromRow, std::size_t toSection, std::size_t toRow,
                                            const AfterChange& afterChange) {
    SavedTimesWrite outcome;
    plist::FileLock lock;
    auto root = readExisting(outcome, lock);
    if (!root) {
        return settled(outcome);
    }
    SavedTimesDocument document(root);
    const auto names = document.sectionNames();
    outcome.sectionsRead = names.size();
    auto source = shown.records.objectAs<NSMutableArray>(fromSection);
    auto destination = shown.records.objectAs<NSMutableArray>(toSection);
    if (!source || !destination || fromRow >= source->count()) {
        outcome.reason = "no such record";
        return settled(outcome);
    }
    // The destination row counts the record itself when it stays in its section.
    const std::size_t places = destination->count() + (fromSection == toSection ? 0 : 1);
    if (toRow >= places) {
        outcome.reason = "no such place";
        return settled(outcome);
    }
    if (!fileStillShows(document, names, shown, {fromSection, toSection}, outcome) ||
        !recordsCanBeStored(document, {names[fromSection], names[toSection]}, outcome)) {
        return settled(outcome);
    }
    const bool emptied = names.size() >= 2 && fromSection != toSection && source->count() == 1;
    // Two places under one name share one key: a move between them would store two lists there,
    // and dropping the emptied one would take the key from the other.
    if (fromSection != toSection && names[fromSection] == names[toSection]) {
        listedOnce(names, fromSection, outcome);
        return settled(outcome);
    }
    if (emptied && !listedOnce(names, fromSection, outcome)) {
        return settled(outcome);
    }
    id record = source->objectAtIndex(fromRow);
    source->removeObjectAtIndex(fromRow);
    destination->insertObject(record, toRow);
    document.storeRecords(names[fromSection], source);
    document.storeRecords(names[toSection], destination);
    showStored(document, names, shown, {fromSection, toSection});
    writeThenDrop(document, emptied ? std::vector<std::size_t>{fromSection} : std::vector<std::size_t>{},
                  outcome, afterChange);
    if (outcome.changeWritten && storetrace::on()) {
        storetrace::stored("move " + storetrace::recordName(record) + " from " +
                           storetrace::quoted(names[fromSection]) + " to " +
                           storetrace::quoted(names[toSection]));
    }
    return settled(outcome);
}

SavedTimesWrite SavedTimesStore::addSection(const std::string& name, const AfterChange& afterChange) {
    SavedTimesWrite outcome;
    plist::FileLock lock;
    auto root = readExisting(outcome, lock);
    if (!root) {
        return settled(outcome);
    }
    SavedTimesDocument document(root);
    const auto before = document.sectionNames();
    outcome.sectionsRead = before.size();
    if (document.sectionListHasWrongType()) {
        outcome.reason = kSectionListNotAList;
        return settled(outcome);
    }
    // The name was checked against the list before the lock was taken; another writer may have
    // added it since.
    if (std::find(before.begin(), before.end(), name) != before.end()) {
        outcome.alreadyExists = true;
        outcome.reason = "a section " + quoted(name) + " already exists";
        return settled(outcome);
    }
    if (!recordsCanBeStored(document, {name}, outcome)) {
        return settled(outcome);
    }
    document.appendSection(name);
    // Positions are those before any drop; the section just added is last and never among them.
    // Records of the wrong type are not an empty section: they are kept, and so is their name.
    std::vector<std::size_t> emptied;
    if (before.size() + 1 >= 2) {
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (document.sectionIsEmpty(before[i])) {
                emptied.push_back(i);
            }
        }
    }
    writeThenDrop(document, emptied, outcome, afterChange);
    if (outcome.changeWritten && storetrace::on()) {
        storetrace::stored("add " + storetrace::quoted(name));
    }
    return settled(outcome);
}

} // namespace lv
